#include "ui/mouse_wheel.h"

namespace qv::ui {

std::optional<i32> wheel_scroll_lines(u32 lines_per_notch, i32 delta)
{
    if (lines_per_notch == 0)
        return std::nullopt;
    const i32 lines = lines_per_notch == kWheelPageScroll ? 3 : static_cast<i32>(lines_per_notch & 0x7FFFFFFF);
    return lines * (-delta / 120);
}

}  // namespace qv::ui

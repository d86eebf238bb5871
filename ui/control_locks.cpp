// Moving and stretching locked controls on a window resize.
#include "ui/control_locks.h"

#include <algorithm>
#include <limits>

namespace qv::ui {
namespace {

i16 shifted(i16 edge, i32 by)
{
    const i64 moved = static_cast<i64>(edge) + by;
    return static_cast<i16>(std::clamp<i64>(moved, std::numeric_limits<i16>::min(), std::numeric_limits<i16>::max()));
}

}  // namespace

ControlBounds bounds_after_resize(const ControlBounds& bounds, const ControlLocks& locks, i32 dh, i32 dv)
{
    ControlBounds out = bounds;
    if (locks.right) {
        out.right = shifted(out.right, dh);
        if (!locks.left)
            out.left = shifted(out.left, dh);
    }
    if (locks.bottom) {
        out.bottom = shifted(out.bottom, dv);
        if (!locks.top)
            out.top = shifted(out.top, dv);
    }
    return out;
}

LayoutSize::Change LayoutSize::resize_to(ContentSize size)
{
    const Change change{size.width - m_size.width, size.height - m_size.height};
    m_size = size;
    return change;
}

}  // namespace qv::ui

// How far one wheel message scrolls: the system's lines per notch times the notches turned,
// positive toward the user (down the text).
#pragma once

#include <optional>

#include "core/types.h"

namespace qv::ui {

// The system's "one screen per notch" setting (WHEEL_PAGESCROLL).
inline constexpr u32 kWheelPageScroll = 0xFFFFFFFFu;

// Lines to scroll for a wheel message of `delta` (positive away from the user, 120 a notch)
// with the system's `lines_per_notch`; nothing when the system scrolls no lines. Only whole
// notches count. A page per notch counts as three lines, the system's default, since a
// window's page is its controls' business.
std::optional<i32> wheel_scroll_lines(u32 lines_per_notch, i32 delta);

}  // namespace qv::ui

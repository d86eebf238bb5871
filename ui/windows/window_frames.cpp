#include "ui/windows/window_frames.h"

#include <algorithm>

namespace qv::ui {
namespace {

struct FrameEntry {
    i32 native_frame;
    i32 default_placement;
};
// By Frame 0..10.
constexpr FrameEntry kFrames[] = {{8, 4}, {3, 2}, {2, 2},  {1, 0},  {4, 2}, {5, 2},
                                  {6, 4}, {9, 0}, {10, 0}, {11, 4}, {12, 0}};

const FrameEntry& entry_of(i32 frame) { return kFrames[frame >= 0 && frame <= 10 ? frame : 0]; }

// Integer division rounding toward zero, as C++ divides.
i16 offset(i16 value, i32 by) { return static_cast<i16>(value + by); }

}  // namespace

i32 native_frame_of(i32 frame)
{
    const i32 native = entry_of(frame).native_frame;
    if (native == 12)
        return 1;
    if (native == 11)
        return 8;
    return native;
}

i32 default_placement_of(i32 frame) { return entry_of(frame).default_placement; }

bool is_modal_frame(i32 native_frame)
{
    return native_frame == 2 || native_frame == 3 || native_frame == 5 || native_frame == 10;
}

bool is_floating_frame(i32 native_frame) { return native_frame == 1 || native_frame == 7 || native_frame == 9; }

bool is_document_frame(i32 native_frame) { return native_frame == 0 || native_frame == 6 || native_frame == 8; }

FrameStyle frame_style(i32 native_frame, bool close_box, bool grow_icon, bool zoom_icon)
{
    FrameStyle s;
    if (grow_icon)
        s.style |= WS_THICKFRAME;
    if (close_box)
        s.style |= WS_SYSMENU;
    if (zoom_icon)
        s.style |= WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU;
    switch (native_frame) {
    case 1:
    case 9:
        s.style |= WS_POPUP | WS_CAPTION;
        s.ex_style = WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW | (native_frame == 9 ? WS_EX_TOPMOST : 0);
        s.has_owner = true;
        break;
    case 2:
        s.style |= WS_POPUP | WS_DLGFRAME;
        s.has_owner = s.on_modal_stack = true;
        break;
    case 3:
    case 10:
        s.style |= WS_POPUP | WS_CAPTION;
        s.ex_style = WS_EX_DLGMODALFRAME;
        s.has_owner = s.on_modal_stack = true;
        break;
    case 4:
    case 5:
        s.style |= WS_POPUP | WS_BORDER;
        s.ex_style = native_frame == 5 ? WS_EX_CLIENTEDGE : 0;
        s.on_modal_stack = true;
        break;
    case 7:
        s.style |= WS_POPUP | WS_BORDER;
        s.ex_style = WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW;
        s.has_owner = true;
        break;
    default:  // 0, 6, 8
        s.style |= WS_CAPTION;
        break;
    }
    return s;
}

ControlBounds placed_bounds(const ControlBounds& bounds, i32 placement, const PlacementArea& area)
{
    i32 dx = 0;
    i32 dy = 0;
    switch (placement) {
    case 0:
        dx = 4;
        dy = 100;
        break;
    case 1:
    case 2:
    case 3:
        dx = (area.screen_width - bounds.right) / 2;
        dy = (area.screen_height - bounds.bottom) / 4;
        break;
    case 4:
        dx = area.available_left + 10;
        dy = area.available_top + 50;
        break;
    default: break;
    }
    return {offset(bounds.top, dy), offset(bounds.left, dx), offset(bounds.bottom, dy), offset(bounds.right, dx)};
}

bool clamp_sizing_rect(RECT& rect, WPARAM edge, const SizeLimits& limits, i32 frame_cx, i32 frame_cy)
{
    if (!limits.min_width && !limits.min_height && !limits.max_width && !limits.max_height)
        return false;
    const i32 width = rect.right - rect.left - 2 * frame_cx;
    const i32 height = rect.bottom - rect.top - 2 * frame_cy;
    i32 new_width = width;
    if (limits.min_width)
        new_width = std::max(new_width, limits.min_width);
    if (limits.max_width)
        new_width = std::min(new_width, limits.max_width);
    i32 new_height = height;
    if (limits.min_height)
        new_height = std::max(new_height, limits.min_height);
    if (limits.max_height)
        new_height = std::min(new_height, limits.max_height);
    const bool right_edge =
        edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMRIGHT;
    if (right_edge)
        rect.right += new_width - width;
    else
        rect.left -= new_width - width;
    const bool bottom_edge = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT ||
        edge == WMSZ_LEFT || edge == WMSZ_RIGHT;
    if (bottom_edge)
        rect.bottom += new_height - height;
    else
        rect.top -= new_height - height;
    return true;
}

}  // namespace qv::ui

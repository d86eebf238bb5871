// Frame types: the Window's Frame (0..10) mapped to a native frame type, the window styles and
// owner rule of each native frame, the placements applied at construction, and the size limits
// applied while the user drags an edge.
#pragma once

#include "platform/win32/windows_api.h"

#include "core/types.h"
#include "ui/control_locks.h"

namespace qv::ui {

// The native frame type of a Frame (12 and 11 already folded into 1 and 8, as at creation);
// Frames outside 0..10 count as 0.
i32 native_frame_of(i32 frame);
// The placement a Frame uses when its Placement is 0.
i32 default_placement_of(i32 frame);

// Modal frames take part in the menu cycle's and keyboard's modal rules; floating frames never
// take the focus or become the front window.
bool is_modal_frame(i32 native_frame);
bool is_floating_frame(i32 native_frame);
// Native frames 0, 6 and 8: document windows (MDI children in MDI mode).
bool is_document_frame(i32 native_frame);

struct FrameStyle {
    DWORD style = 0;
    DWORD ex_style = 0;
    bool has_owner = false;
    bool on_modal_stack = false;
};
FrameStyle frame_style(i32 native_frame, bool close_box, bool grow_icon, bool zoom_icon);

// The screen facts a placement needs.
struct PlacementArea {
    i32 screen_width = 0;
    i32 screen_height = 0;
    i32 available_left = 0;
    i32 available_top = 0;
};
// `bounds` offset by the placement (0..4; others leave it).
ControlBounds placed_bounds(const ControlBounds& bounds, i32 placement, const PlacementArea& area);

struct SizeLimits {
    i32 min_width = 0;
    i32 min_height = 0;
    i32 max_width = 0;
    i32 max_height = 0;  // 0: no limit
};
// Clamps the dragged window rectangle of WM_SIZING so that its width and height less the frame
// (frame_cx, frame_cy on each side) stay inside the limits, moving only the dragged edges.
// False when there is nothing to clamp (every limit is 0).
bool clamp_sizing_rect(RECT& rect, WPARAM edge, const SizeLimits& limits, i32 frame_cx, i32 frame_cy);

}  // namespace qv::ui

// Canvas: a control the image draws itself, on a "QV_CanvasPane" child window, with its own
// mouse events in control coordinates.
#pragma once

#include "core/types.h"
#include "sdk/quaver.h"

namespace qv::ui {

// Indices of Canvas's own events in its event table.
enum CanvasEvent : i32 {
    kCanvasPaint = 7,
    kCanvasMouseDown = 8,
    kCanvasMouseDrag = 9,
    kCanvasMouseUp = 10,
};

// Canvas's CreatePane: builds its peer inside the initial parent's peer or the window's.
void create_canvas_pane(RuntimeObject* self);

}  // namespace qv::ui

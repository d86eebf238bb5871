// Graphics objects for windows and controls, made by the window layer: for a window's Paint
// event with the paint's device context, and for windowGraphicsGetter / canvasGraphicsGetter
// with none (the port then takes the window's device context while it is current).
//
// The window layer owns the lifetime question: when the window is destroyed, or once a Paint
// event has returned and its device context is gone, it calls detach_graphics_surface
// (graphics/graphics_class.h) so that a Graphics object image code kept draws nothing
// instead of drawing through a stale handle.
#pragma once

#include <optional>

#include "platform/win32/windows_api.h"

#include "core/types.h"
#include "sdk/quaver.h"

namespace qv::graphics {

struct WindowSurfaceOptions {
    // The device context of a paint in progress (BeginPaint), used as it is and never
    // released by the port; null: GetDC(window) while the port is current, ReleaseDC after.
    HDC paint_dc = nullptr;
    // A control's bounds in the window's client area: its left and top are added to every
    // coordinate, its size is the Graphics' Width and Height. Negative width or height: the
    // window's client size.
    i32 left = 0;
    i32 top = 0;
    i32 width = -1;
    i32 height = -1;
    // ClearRect's colour as GDI's COLORREF; none: the system's COLOR_BTNFACE brush.
    std::optional<COLORREF> background;
};

// A new Graphics object (one count) that draws on the window, or null when memory runs out.
RuntimeObject* make_window_graphics(HWND window, const WindowSurfaceOptions& options = {});

}  // namespace qv::graphics

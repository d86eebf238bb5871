// Paint events hand the image a Graphics object; the graphics layer above makes them. It
// installs its factory at start-up; until then (and in programs without it) Paint has no
// Graphics to give and is not fired.
#pragma once

#include "core/types.h"
#include "sdk/quaver.h"

namespace qv::ui {

struct GraphicsFactory {
    // A new Graphics object (one count) drawing on `device_context` (an HDC, or null for the
    // window's own) of `window` (an HWND), in the area at (left, top) of the given size (a
    // negative size: the whole client area); nil when it cannot be made.
    RuntimeObject* (*make)(void* window, void* device_context, i32 left, i32 top, i32 width, i32 height);
    // Ends the object's use of the surface and gives back the count `make` handed out: image
    // code that kept the object then draws nothing.
    void (*release)(RuntimeObject* graphics);
};

void set_graphics_factory(const GraphicsFactory& factory);
// Nil when no factory is installed.
RuntimeObject* make_graphics(void* window, void* device_context, i32 left = 0, i32 top = 0, i32 width = -1,
                             i32 height = -1);
void release_graphics(RuntimeObject* graphics);

}  // namespace qv::ui

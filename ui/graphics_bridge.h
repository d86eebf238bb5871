// Paint events hand the image a Graphics object; the graphics layer above makes them. It
// installs its factory at start-up; until then (and in programs without it) Paint has no
// Graphics to give and is not fired.
#pragma once

#include "sdk/quaver.h"

namespace qv::ui {

// A new Graphics object (one count) drawing on `device_context` of `window` (an HWND and an
// HDC), or nil.
using GraphicsFactory = RuntimeObject* (*)(void* window, void* device_context);

void set_graphics_factory(GraphicsFactory factory);
// Nil when no factory is installed.
RuntimeObject* make_graphics(void* window, void* device_context);

}  // namespace qv::ui

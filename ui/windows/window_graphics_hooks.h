// Graphics objects for windows come from the graphics layer, which sits above this one: the
// program installs its makers here at start-up (winmain.cpp). Without them a window has no
// Graphics: Paint does not fire and the Graphics property is nil.
#pragma once

#include "platform/win32/windows_api.h"

#include "core/types.h"
#include "sdk/quaver.h"

namespace qv::ui {

struct WindowGraphicsHooks {
    // A new Graphics object (one count) drawing on `window`: through `paint_dc` during a paint,
    // else through the window's own device context; ClearRect fills with `background` when
    // `has_background`, else with the system's face colour.
    RuntimeObject* (*make)(HWND window, HDC paint_dc, bool has_background, COLORREF background) = nullptr;
    // The surface is going away: the Graphics object draws nothing from now on.
    void (*detach)(RuntimeObject* graphics) = nullptr;
};

void install_window_graphics(const WindowGraphicsHooks& hooks);
const WindowGraphicsHooks& window_graphics_hooks();

}  // namespace qv::ui

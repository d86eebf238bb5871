// What runtime.exe's WinMain does before an image runs, for the Win32 suites that drive real
// windows: every layer's routines join the registry before the start-up builds it, then every
// class is registered. The graphics port's first font and surfaces live for the process: made
// here, they are no test's leak.
#pragma once

#include "framework/startup/windows_startup.h"
#include "graphics/graphics_routines.h"
#include "runtime/strings/string_ref.h"
#include "ui/controls/startup/control_layer.h"
#include "ui/ui_routines.h"
#include "ui/win32/ui_win32_services.h"
#include "ui/windows/window_layer.h"

#include <ole2.h>

namespace qv::test {

inline void start_windows_runtime()
{
    ui::register_ui_routines();
    ui::register_control_layer();
    ui::register_window_layer();
    graphics::register_graphics();
    ui::register_ui_win32_services();
    OleInitialize(nullptr);  // as runtime.exe's start-up: windows register their drop targets
    start_framework_runtime();
    RuntimeObject* picture = newPicture(4, 4, 32);
    RuntimeObject* g = pictureGraphicsGetter(picture, 0);
    RuntimeGraphicsFillRect(g, 0, 0, 1, 1);
    RuntimeGraphicsDrawString(g, StringRef::FromCString("x").get(), 0, 2, 0);
    RuntimeGraphicsDrawPicture(g, nullptr, 0, 0, 0, 0, 0, 0, 0, 0);
    RuntimeUnlockObject(g);
    RuntimeUnlockObject(picture);
}

}  // namespace qv::test

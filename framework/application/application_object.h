// The built-in Application object: its fields at the byte offsets the image's accessors use,
// its event indices, and the program-wide state the application, the event loop and the
// menus share (one user-interface thread touches all of it).
#pragma once

#include <cstddef>

#include "core/types.h"
#include "framework/menu_handler_registry.h"
#include "sdk/quaver.h"

namespace qv {

struct ApplicationObject {
    RuntimeObject header;
    RuntimeObject* mouseCursor;  // overrides every window and control cursor; nil for none
    RuntimeObject* mdiWindow;    // the MDI frame's MDIWindow object
    u8 balloonHelpVisible;
    u8 quitting;  // a quit attempt is in progress
    u8 unused[2];
    RuntimeObject* menuBar;
    MenuHandlerRegistry* mMenuHandlers;  // created on first use
    RuntimeObject* reserved;
};
static_assert(offsetof(ApplicationObject, mouseCursor) == 28);
static_assert(offsetof(ApplicationObject, mdiWindow) == 32);
static_assert(offsetof(ApplicationObject, balloonHelpVisible) == 36);
static_assert(offsetof(ApplicationObject, quitting) == 37);
static_assert(offsetof(ApplicationObject, menuBar) == 40);
static_assert(offsetof(ApplicationObject, mMenuHandlers) == 44);
static_assert(offsetof(ApplicationObject, reserved) == 48);
static_assert(sizeof(ApplicationObject) == 52);

// Event indices of Application, in declaration order.
enum ApplicationEvent : i32 {
    kApplicationOpen = 0,
    kApplicationClose = 1,
    kApplicationEnableMenuItems = 2,
    kApplicationNewDocument = 3,
    kApplicationOpenDocument = 4,
    kApplicationHandleAppleEvent = 5,
    kApplicationActivate = 6,
    kApplicationDeactivate = 7,
    kApplicationUnhandledException = 8,
};

// The application object, or nil; holds one count while set.
extern RuntimeObject* gApplicationObject;
// The event loop stops after the current iteration once this is set.
extern bool gQuitRequested;
// True while RuntimeRun is inside the event loop.
extern bool gEventLoopRunning;
// True while the application's UnhandledException event runs.
extern bool gInUnhandledException;
extern bool gAppActive;
// The modifier mask (key_names.h bits, 0x100 for the Windows keys) of the last mouse-down or
// command message.
extern u32 gModifierState;

inline ApplicationObject* application_fields(RuntimeObject* object)
{
    return reinterpret_cast<ApplicationObject*>(object);
}

}  // namespace qv

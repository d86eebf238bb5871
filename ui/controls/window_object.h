// The built-in Window object: its fields at the byte offsets the image's generic accessors use,
// and its event indices. The native side (RuntimeViewWindow) lives in ui/windows/native_window.h.
// Here, below the windows, because controls find their window's control registry through it.
#pragma once

#include <cstddef>

#include "core/types.h"
#include "sdk/quaver.h"
#include "ui/control_locks.h"

namespace qv {
class MenuHandlerRegistry;
}

namespace qv::ui {

class ControlRegistry;
class RuntimeViewWindow;

struct WindowObject {
    RuntimeObject header;
    u8 visible;  // requested visibility
    u8 closeBox;
    u8 growIcon;  // resizable frame
    u8 zoomIcon;  // minimise and maximise boxes
    u8 composite;
    u8 liveResize;  // stored until the native window exists
    u8 unused34[2];
    RuntimeViewWindow* nativeWindow;  // null before creation and after closing
    u32 unused40;
    ControlBounds bounds;        // content rectangle in screen coordinates (MDI: client coordinates)
    ControlBounds layoutBounds;  // bounds at the last control layout
    ControlBounds savedBounds;   // bounds before FullScreen was switched on
    RuntimeString* title;
    RuntimeObject* backdrop;  // a Picture
    u32 unused76;
    i32 frame;      // 0..10
    i32 placement;  // 0..4
    i32 backColor;  // 0x00RRGGBB
    i16 minWidth;   // 0 = no limit, as the three below
    i16 minHeight;
    i16 maxWidth;
    i16 maxHeight;
    RuntimeObject* mouseCursor;
    RuntimeString* balloonHelp;
    u8 hasBackColor;
    u8 menuBarVisible;
    u8 fullScreen;           // current state
    u8 fullScreenRequested;  // set before the native window exists
    RuntimeString* floaterProcess;
    i32 macProcId;
    ControlRegistry* controls;  // controls and other window-owned objects, by key
    u32 unused124;
    RuntimeObject* menuBar;
    u32 unused132;
    u8 controlsCreated;  // the hidden CreateControls event has run
    u8 unused137[3];
    MenuHandlerRegistry* mMenuHandlers;
};
static_assert(offsetof(WindowObject, visible) == 28);
static_assert(offsetof(WindowObject, closeBox) == 29);
static_assert(offsetof(WindowObject, growIcon) == 30);
static_assert(offsetof(WindowObject, zoomIcon) == 31);
static_assert(offsetof(WindowObject, composite) == 32);
static_assert(offsetof(WindowObject, liveResize) == 33);
static_assert(offsetof(WindowObject, nativeWindow) == 36);
static_assert(offsetof(WindowObject, bounds) == 44);
static_assert(offsetof(WindowObject, layoutBounds) == 52);
static_assert(offsetof(WindowObject, savedBounds) == 60);
static_assert(offsetof(WindowObject, title) == 68);
static_assert(offsetof(WindowObject, backdrop) == 72);
static_assert(offsetof(WindowObject, frame) == 80);
static_assert(offsetof(WindowObject, placement) == 84);
static_assert(offsetof(WindowObject, backColor) == 88);
static_assert(offsetof(WindowObject, minWidth) == 92);
static_assert(offsetof(WindowObject, maxHeight) == 98);
static_assert(offsetof(WindowObject, mouseCursor) == 100);
static_assert(offsetof(WindowObject, balloonHelp) == 104);
static_assert(offsetof(WindowObject, hasBackColor) == 108);
static_assert(offsetof(WindowObject, fullScreenRequested) == 111);
static_assert(offsetof(WindowObject, floaterProcess) == 112);
static_assert(offsetof(WindowObject, macProcId) == 116);
static_assert(offsetof(WindowObject, controls) == 120);
static_assert(offsetof(WindowObject, menuBar) == 128);
static_assert(offsetof(WindowObject, controlsCreated) == 136);
static_assert(offsetof(WindowObject, mMenuHandlers) == 140);
static_assert(sizeof(WindowObject) == 144);

// Event indices of Window; the first three are hidden (the image's compiled window code).
enum WindowEvent : i32 {
    kWindowLayout = 0,
    kWindowCreateControls = 1,
    kWindowSetupBindings = 2,
    kWindowOpen = 3,
    kWindowClose = 4,
    kWindowCancelClose = 5,
    kWindowKeyDown = 6,
    kWindowMouseMove = 7,
    kWindowMouseEnter = 8,
    kWindowMouseExit = 9,
    kWindowPaint = 10,
    kWindowMouseDown = 11,
    kWindowMouseDrag = 12,
    kWindowMouseUp = 13,
    kWindowEnableMenuItems = 14,
    kWindowResized = 15,
    kWindowResizing = 16,
    kWindowMoved = 17,
    kWindowDropObject = 18,
    kWindowActivate = 19,
    kWindowDeactivate = 20,
};

inline WindowObject* window_fields(RuntimeObject* object) { return reinterpret_cast<WindowObject*>(object); }

}  // namespace qv::ui

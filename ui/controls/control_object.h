// The built-in Control and RectControl objects: their fields at the byte offsets the image's
// generic accessors use, and their event indices. Both classes have the same 104-byte layout;
// concrete controls extend it.
#pragma once

#include <cstddef>

#include "core/types.h"
#include "sdk/quaver.h"
#include "ui/control_locks.h"
#include "ui/control_registry.h"

namespace qv {
class MenuHandlerRegistry;
}

namespace qv::ui {

class SubPane;

struct ControlObject {
    RuntimeObject header;
    RuntimeObject* initialParent;  // the peer is created inside this control's peer
    u32 unused32;
    SubPane* paneInstance;  // the native peer; null before CreatePane and after Close
    RuntimeString* name;
    i32 index;  // kNoArrayIndex when no member of an array
    i32 tabPanelIndex;
    u8 visible;
    u8 enabled;
    u8 autoDeactivate;
    u8 unused55[3];
    u8 lockLeft;
    u8 lockTop;
    u8 lockRight;
    u8 lockBottom;
    ControlBounds bounds;  // window coordinates
    u8 unused70[2];
    SubPane* windowRootPeer;  // the window's content peer, set by WindowAddControl
    RuntimeObject* m_view;    // the owning Window (no count)
    RuntimeObject* mouseCursor;
    RuntimeString* balloonHelp;
    RuntimeString* disabledBalloonHelp;
    RuntimeString* helpTag;
    MenuHandlerRegistry* mMenuHandlers;  // created on first use
    RuntimeObject* linkedControl;        // not counted
};
static_assert(offsetof(ControlObject, initialParent) == 28);
static_assert(offsetof(ControlObject, paneInstance) == 36);
static_assert(offsetof(ControlObject, name) == kControlNameOffset);
static_assert(offsetof(ControlObject, index) == kControlIndexOffset);
static_assert(offsetof(ControlObject, tabPanelIndex) == 48);
static_assert(offsetof(ControlObject, visible) == 52);
static_assert(offsetof(ControlObject, enabled) == 53);
static_assert(offsetof(ControlObject, autoDeactivate) == 54);
static_assert(offsetof(ControlObject, lockLeft) == 58);
static_assert(offsetof(ControlObject, lockBottom) == 61);
static_assert(offsetof(ControlObject, bounds) == 62);
static_assert(offsetof(ControlObject, windowRootPeer) == 72);
static_assert(offsetof(ControlObject, m_view) == 76);
static_assert(offsetof(ControlObject, mouseCursor) == 80);
static_assert(offsetof(ControlObject, balloonHelp) == 84);
static_assert(offsetof(ControlObject, disabledBalloonHelp) == 88);
static_assert(offsetof(ControlObject, helpTag) == 92);
static_assert(offsetof(ControlObject, mMenuHandlers) == 96);
static_assert(offsetof(ControlObject, linkedControl) == 100);
static_assert(sizeof(ControlObject) == 104);

// Indices in a control class's event table: Control's events, then RectControl's.
enum ControlEvent : i32 {
    kControlCreatePane = 0,
    kControlOpen = 1,
    kControlClose = 2,
    kRectControlMouseMove = 3,
    kRectControlMouseEnter = 4,
    kRectControlMouseExit = 5,
    kRectControlDropObject = 6,
    kRectControlEventCount = 7,  // a concrete control's own events start here
};

inline ControlObject* control_fields(RuntimeObject* object) { return reinterpret_cast<ControlObject*>(object); }

}  // namespace qv::ui

// The built-in EditField object: its fields after the Control fields, at the byte offsets the
// image's generic accessors use, and its event indices.
#pragma once

#include <cstddef>

#include "ui/controls/control_object.h"

namespace qv::ui {

class EditPane;

struct EditFieldObject {
    ControlObject control;
    RuntimeString* dataSource;
    RuntimeString* dataField;
    RuntimeString* textFont;
    i16 textSize;  // 0: the system's default size
    u8 bold;
    u8 italic;
    u8 underline;
    u8 unused121[3];
    void* eventRelay;  // the peer raises the events; non-null while a peer exists
    u8 border;         // this and the three after it take effect when the peer is created
    u8 multiLine;
    u8 scrollBarHorizontal;
    u8 scrollBarVertical;
    u8 readOnly;
    u8 unused133[3];
    RuntimeString* text;  // the text last set from code
    i32 limitText;        // 0: no limit
    i32 backColor;        // 0x00RRGGBB
    i32 textColor;
    u8 textChangeBusy;
    u8 selChangeBusy;
    u8 password;
    u8 styled;
    u8 acceptTabs;
    u8 liveUpdate;
    u8 useFocusRing;
    u8 unused159;
    RuntimeObject* boundDataSource;
    i32 alignment;
};
static_assert(offsetof(EditFieldObject, dataSource) == 104);
static_assert(offsetof(EditFieldObject, textFont) == 112);
static_assert(offsetof(EditFieldObject, textSize) == 116);
static_assert(offsetof(EditFieldObject, underline) == 120);
static_assert(offsetof(EditFieldObject, eventRelay) == 124);
static_assert(offsetof(EditFieldObject, border) == 128);
static_assert(offsetof(EditFieldObject, scrollBarVertical) == 131);
static_assert(offsetof(EditFieldObject, readOnly) == 132);
static_assert(offsetof(EditFieldObject, text) == 136);
static_assert(offsetof(EditFieldObject, limitText) == 140);
static_assert(offsetof(EditFieldObject, backColor) == 144);
static_assert(offsetof(EditFieldObject, textColor) == 148);
static_assert(offsetof(EditFieldObject, textChangeBusy) == 152);
static_assert(offsetof(EditFieldObject, password) == 154);
static_assert(offsetof(EditFieldObject, styled) == 155);
static_assert(offsetof(EditFieldObject, acceptTabs) == 156);
static_assert(offsetof(EditFieldObject, useFocusRing) == 158);
static_assert(offsetof(EditFieldObject, boundDataSource) == 160);
static_assert(offsetof(EditFieldObject, alignment) == 164);
static_assert(sizeof(EditFieldObject) == 168);

// Indices in EditField's event table, after the 7 of Control and RectControl.
enum EditFieldEvent : i32 {
    kEditKeyDown = kRectControlEventCount,
    kEditGotFocus,
    kEditLostFocus,
    kEditMouseDown,
    kEditMouseUp,
    kEditSelChange,
    kEditTextChange,
    kEditEnableMenuItems,
};

inline EditFieldObject* edit_fields(RuntimeObject* object) { return reinterpret_cast<EditFieldObject*>(object); }

}  // namespace qv::ui

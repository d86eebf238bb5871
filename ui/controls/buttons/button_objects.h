// The built-in simple controls' objects: PushButton, CheckBox, RadioButton, StaticText and
// GroupBox, their fields at the byte offsets the image's accessors use, and their event
// indices (after the 7 of Control and RectControl).
#pragma once

#include <cstddef>

#include "ui/controls/control_object.h"

namespace qv::ui {

struct ControlReceivers;

struct PushButtonObject {
    ControlObject control;
    RuntimeString* caption;
    void* eventRelay;  // the peer, while there is one
    u8 isDefault;
    u8 isCancel;
    u8 unused114[2];
    RuntimeString* textFont;
    i16 textSize;
    u8 bold;
    u8 italic;
    u8 underline;
    u8 unused125[3];
    ControlReceivers* receivers;  // made on first use
};
static_assert(offsetof(PushButtonObject, caption) == 104);
static_assert(offsetof(PushButtonObject, isDefault) == 112);
static_assert(offsetof(PushButtonObject, textFont) == 116);
static_assert(offsetof(PushButtonObject, textSize) == 120);
static_assert(offsetof(PushButtonObject, underline) == 124);
static_assert(offsetof(PushButtonObject, receivers) == 128);
static_assert(sizeof(PushButtonObject) == 132);

struct CheckBoxObject {
    ControlObject control;
    RuntimeString* dataSource;
    RuntimeString* dataField;
    RuntimeString* caption;
    void* eventRelay;
    RuntimeString* textFont;
    i16 textSize;
    u8 bold;
    u8 italic;
    u8 underline;
    u8 unused129[3];
    u8 value;
    u8 notifying;
    u8 unused134[6];
    ControlReceivers* receivers;  // data, checked-part and unchecked-part receivers
    u32 unused144[2];
};
static_assert(offsetof(CheckBoxObject, caption) == 112);
static_assert(offsetof(CheckBoxObject, textFont) == 120);
static_assert(offsetof(CheckBoxObject, textSize) == 124);
static_assert(offsetof(CheckBoxObject, underline) == 128);
static_assert(offsetof(CheckBoxObject, value) == 132);
static_assert(offsetof(CheckBoxObject, receivers) == 140);
static_assert(sizeof(CheckBoxObject) == 152);

struct RadioButtonObject {
    ControlObject control;
    RuntimeString* caption;
    void* eventRelay;
    RuntimeString* textFont;
    i16 textSize;
    u8 bold;
    u8 italic;
    u8 underline;
    u8 unused121[3];
    u8 value;
    u8 unused125[3];
    ControlReceivers* receivers;  // the parts' receivers
    u32 unused132;
};
static_assert(offsetof(RadioButtonObject, textFont) == 112);
static_assert(offsetof(RadioButtonObject, textSize) == 116);
static_assert(offsetof(RadioButtonObject, value) == 124);
static_assert(offsetof(RadioButtonObject, receivers) == 128);
static_assert(sizeof(RadioButtonObject) == 136);

struct StaticTextObject {
    ControlObject control;
    RuntimeString* textFont;
    u8 bold;
    u8 italic;
    u8 underline;
    u8 unused111;
    i16 textSize;
    u8 unused114[2];
    RuntimeString* text;
    i16 textAlign;
    u8 unused122[2];
    i32 textColor;
    u8 multiLine;
    u8 unused129[3];
    RuntimeString* dataSource;
    RuntimeString* dataField;
};
static_assert(offsetof(StaticTextObject, bold) == 108);
static_assert(offsetof(StaticTextObject, underline) == 110);
static_assert(offsetof(StaticTextObject, textSize) == 112);
static_assert(offsetof(StaticTextObject, text) == 116);
static_assert(offsetof(StaticTextObject, textAlign) == 120);
static_assert(offsetof(StaticTextObject, textColor) == 124);
static_assert(offsetof(StaticTextObject, multiLine) == 128);
static_assert(offsetof(StaticTextObject, dataSource) == 132);
static_assert(sizeof(StaticTextObject) == 140);

struct GroupBoxObject {
    ControlObject control;
    RuntimeString* textFont;
    i16 textSize;
    u8 bold;
    u8 italic;
    u8 underline;
    u8 unused113[3];
    RuntimeString* caption;
};
static_assert(offsetof(GroupBoxObject, textSize) == 108);
static_assert(offsetof(GroupBoxObject, underline) == 112);
static_assert(offsetof(GroupBoxObject, caption) == 116);
static_assert(sizeof(GroupBoxObject) == 120);

// PushButton, CheckBox and RadioButton.
enum ButtonEvent : i32 {
    kButtonAction = kRectControlEventCount,
    kButtonMouseDown,
    kButtonMouseUp,
    kButtonGotFocus,
    kButtonLostFocus,
};
enum StaticTextEvent : i32 {
    kStaticAcceleratorKey = kRectControlEventCount,
    kStaticMouseDown,
    kStaticMouseDrag,
    kStaticMouseUp,
};
enum GroupBoxEvent : i32 {
    kGroupMouseDown = kRectControlEventCount,
    kGroupMouseDrag,
    kGroupMouseUp,
};

// Where a class keeps its font record: five fields at these byte offsets.
struct FontRecordLayout {
    i32 name;
    i32 size;
    i32 bold;
    i32 italic;
    i32 underline;
};
// Read off the object's own fields.
template <typename T>
constexpr FontRecordLayout font_record_of()
{
    return {offsetof(T, textFont), offsetof(T, textSize), offsetof(T, bold), offsetof(T, italic),
            offsetof(T, underline)};
}
inline constexpr FontRecordLayout kPushButtonFont = font_record_of<PushButtonObject>();
inline constexpr FontRecordLayout kCheckBoxFont = font_record_of<CheckBoxObject>();
inline constexpr FontRecordLayout kRadioButtonFont = font_record_of<RadioButtonObject>();
inline constexpr FontRecordLayout kStaticTextFont = font_record_of<StaticTextObject>();
inline constexpr FontRecordLayout kGroupBoxFont = font_record_of<GroupBoxObject>();

template <typename T>
T* object_as(RuntimeObject* object)
{
    return reinterpret_cast<T*>(object);
}

}  // namespace qv::ui

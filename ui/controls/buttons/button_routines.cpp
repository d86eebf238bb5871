// The simple controls' property accessors: every value is stored in the object and handed to
// the peer when there is one.
#include <cstring>

#include "runtime/strings/string_ref.h"
#include "ui/controls/buttons/button_objects.h"
#include "ui/controls/buttons/button_pane.h"
#include "ui/controls/buttons/static_text_pane.h"
#include "ui/controls/control_routines.h"
#include "ui/controls/control_text.h"
#include "ui/controls/window_controls.h"

using namespace qv::ui;
using qv::StringRef;

namespace {

u8* field(RuntimeObject* self, i32 offset) { return reinterpret_cast<u8*>(self) + offset; }

RuntimeString* string_at(RuntimeObject* self, i32 offset)
{
    RuntimeString* s;
    std::memcpy(&s, field(self, offset), sizeof s);
    return s;
}

ButtonPane* button_pane(RuntimeObject* self)
{
    return self ? dynamic_cast<ButtonPane*>(control_fields(self)->paneInstance) : nullptr;
}

StaticTextPane* text_pane(RuntimeObject* self)
{
    return self ? dynamic_cast<StaticTextPane*>(control_fields(self)->paneInstance) : nullptr;
}

}  // namespace

namespace qv::ui {

FontDescription font_description(RuntimeObject* self, const FontRecordLayout& layout)
{
    i16 size;
    std::memcpy(&size, field(self, layout.size), sizeof size);
    return control_font(StringRef::share(string_at(self, layout.name)), size, *field(self, layout.bold) != 0,
                        *field(self, layout.italic) != 0, *field(self, layout.underline) != 0);
}

}  // namespace qv::ui

namespace {

void font_changed(RuntimeObject* self, const FontRecordLayout& layout)
{
    if (ButtonPane* pane = button_pane(self))
        pane->SetFont(font_description(self, layout));
    if (StaticTextPane* pane = text_pane(self)) {
        pane->SetFont(font_description(self, layout));
        pane->Invalidate(true);
    }
}

RuntimeString* font_name(RuntimeObject* self, const FontRecordLayout& layout)
{
    return control_or_raise(self) ? StringRef::share(string_at(self, layout.name)).leak() : nullptr;
}

void set_font_name(RuntimeObject* self, const FontRecordLayout& layout, RuntimeString* name)
{
    if (!control_or_raise(self))
        return;
    stringSetter(self, layout.name, name);
    font_changed(self, layout);
}

int32_t font_size(RuntimeObject* self, const FontRecordLayout& layout)
{
    return control_or_raise(self) ? shortGetter(self, layout.size) : 0;
}

void set_font_size(RuntimeObject* self, const FontRecordLayout& layout, int32_t size)
{
    if (!control_or_raise(self))
        return;
    shortSetter(self, layout.size, size);
    font_changed(self, layout);
}

int32_t font_flag(RuntimeObject* self, i32 offset) { return control_or_raise(self) && *field(self, offset) != 0; }

void set_font_flag(RuntimeObject* self, const FontRecordLayout& layout, i32 offset, int32_t on)
{
    if (!control_or_raise(self))
        return;
    *field(self, offset) = (on & 0xFF) != 0;
    font_changed(self, layout);
}

RuntimeString* caption(RuntimeObject* self, i32 offset)
{
    return control_or_raise(self) ? StringRef::share(string_at(self, offset)).leak() : nullptr;
}

void set_caption(RuntimeObject* self, i32 offset, RuntimeString* text, bool mnemonic)
{
    if (!control_or_raise(self))
        return;
    stringSetter(self, offset, text);
    if (ButtonPane* pane = button_pane(self)) {
        const std::string utf8 = utf8_of(text);
        pane->SetCaption(utf8);
        if (mnemonic)
            pane->RegisterMnemonic(utf8);
    }
}

}  // namespace

extern "C" {

// ---- PushButton font ----------------------------------------------------------------------

RuntimeString* pushButtonTextFontGetter(RuntimeObject* self, int32_t) { return font_name(self, kPushButtonFont); }
void pushButtonTextFontSetter(RuntimeObject* self, int32_t, RuntimeString* name)
{
    set_font_name(self, kPushButtonFont, name);
}
int32_t pushButtonTextSizeGetter(RuntimeObject* self, int32_t) { return font_size(self, kPushButtonFont); }
void pushButtonTextSizeSetter(RuntimeObject* self, int32_t, int32_t size)
{
    set_font_size(self, kPushButtonFont, size);
}
int32_t pushButtonBoldGetter(RuntimeObject* self, int32_t) { return font_flag(self, kPushButtonFont.bold); }
void pushButtonBoldSetter(RuntimeObject* self, int32_t, int32_t on)
{
    set_font_flag(self, kPushButtonFont, kPushButtonFont.bold, on);
}
int32_t pushButtonItalicGetter(RuntimeObject* self, int32_t) { return font_flag(self, kPushButtonFont.italic); }
void pushButtonItalicSetter(RuntimeObject* self, int32_t, int32_t on)
{
    set_font_flag(self, kPushButtonFont, kPushButtonFont.italic, on);
}
int32_t pushButtonUnderlineGetter(RuntimeObject* self, int32_t) { return font_flag(self, kPushButtonFont.underline); }
void pushButtonUnderlineSetter(RuntimeObject* self, int32_t, int32_t on)
{
    set_font_flag(self, kPushButtonFont, kPushButtonFont.underline, on);
}

// ---- CheckBox font ------------------------------------------------------------------------

RuntimeString* checkBoxTextFontGetter(RuntimeObject* self, int32_t) { return font_name(self, kCheckBoxFont); }
void checkBoxTextFontSetter(RuntimeObject* self, int32_t, RuntimeString* name)
{
    set_font_name(self, kCheckBoxFont, name);
}
int32_t checkBoxTextSizeGetter(RuntimeObject* self, int32_t) { return font_size(self, kCheckBoxFont); }
void checkBoxTextSizeSetter(RuntimeObject* self, int32_t, int32_t size) { set_font_size(self, kCheckBoxFont, size); }
int32_t checkBoxBoldGetter(RuntimeObject* self, int32_t) { return font_flag(self, kCheckBoxFont.bold); }
void checkBoxBoldSetter(RuntimeObject* self, int32_t, int32_t on)
{
    set_font_flag(self, kCheckBoxFont, kCheckBoxFont.bold, on);
}
int32_t checkBoxItalicGetter(RuntimeObject* self, int32_t) { return font_flag(self, kCheckBoxFont.italic); }
void checkBoxItalicSetter(RuntimeObject* self, int32_t, int32_t on)
{
    set_font_flag(self, kCheckBoxFont, kCheckBoxFont.italic, on);
}
int32_t checkBoxUnderlineGetter(RuntimeObject* self, int32_t) { return font_flag(self, kCheckBoxFont.underline); }
void checkBoxUnderlineSetter(RuntimeObject* self, int32_t, int32_t on)
{
    set_font_flag(self, kCheckBoxFont, kCheckBoxFont.underline, on);
}

// ---- RadioButton font ---------------------------------------------------------------------

RuntimeString* radioTextFontGetter(RuntimeObject* self, int32_t) { return font_name(self, kRadioButtonFont); }
void radioTextFontSetter(RuntimeObject* self, int32_t, RuntimeString* name)
{
    set_font_name(self, kRadioButtonFont, name);
}
int32_t radioTextSizeGetter(RuntimeObject* self, int32_t) { return font_size(self, kRadioButtonFont); }
void radioTextSizeSetter(RuntimeObject* self, int32_t, int32_t size) { set_font_size(self, kRadioButtonFont, size); }
int32_t radioBoldGetter(RuntimeObject* self, int32_t) { return font_flag(self, kRadioButtonFont.bold); }
void radioBoldSetter(RuntimeObject* self, int32_t, int32_t on)
{
    set_font_flag(self, kRadioButtonFont, kRadioButtonFont.bold, on);
}
int32_t radioItalicGetter(RuntimeObject* self, int32_t) { return font_flag(self, kRadioButtonFont.italic); }
void radioItalicSetter(RuntimeObject* self, int32_t, int32_t on)
{
    set_font_flag(self, kRadioButtonFont, kRadioButtonFont.italic, on);
}
int32_t radioUnderlineGetter(RuntimeObject* self, int32_t) { return font_flag(self, kRadioButtonFont.underline); }
void radioUnderlineSetter(RuntimeObject* self, int32_t, int32_t on)
{
    set_font_flag(self, kRadioButtonFont, kRadioButtonFont.underline, on);
}

// ---- GroupBox font ------------------------------------------------------------------------

RuntimeString* groupTextFontGetter(RuntimeObject* self, int32_t) { return font_name(self, kGroupBoxFont); }
void groupTextFontSetter(RuntimeObject* self, int32_t, RuntimeString* name)
{
    set_font_name(self, kGroupBoxFont, name);
}
int32_t groupTextSizeGetter(RuntimeObject* self, int32_t) { return font_size(self, kGroupBoxFont); }
void groupTextSizeSetter(RuntimeObject* self, int32_t, int32_t size) { set_font_size(self, kGroupBoxFont, size); }
int32_t groupBoldGetter(RuntimeObject* self, int32_t) { return font_flag(self, kGroupBoxFont.bold); }
void groupBoldSetter(RuntimeObject* self, int32_t, int32_t on)
{
    set_font_flag(self, kGroupBoxFont, kGroupBoxFont.bold, on);
}
int32_t groupItalicGetter(RuntimeObject* self, int32_t) { return font_flag(self, kGroupBoxFont.italic); }
void groupItalicSetter(RuntimeObject* self, int32_t, int32_t on)
{
    set_font_flag(self, kGroupBoxFont, kGroupBoxFont.italic, on);
}
int32_t groupUnderlineGetter(RuntimeObject* self, int32_t) { return font_flag(self, kGroupBoxFont.underline); }
void groupUnderlineSetter(RuntimeObject* self, int32_t, int32_t on)
{
    set_font_flag(self, kGroupBoxFont, kGroupBoxFont.underline, on);
}

// ---- PushButton ---------------------------------------------------------------------------

RuntimeString* pushButtonTitleGetter(RuntimeObject* self, int32_t)
{
    return caption(self, offsetof(PushButtonObject, caption));
}

void pushButtonTitleSetter(RuntimeObject* self, int32_t, RuntimeString* text)
{
    set_caption(self, offsetof(PushButtonObject, caption), text, true);
}

int32_t pushButtonDefaultGetter(RuntimeObject* self, int32_t)
{
    return control_or_raise(self) && object_as<PushButtonObject>(self)->isDefault;
}

void pushButtonDefaultSetter(RuntimeObject* self, int32_t, int32_t on)
{
    if (!control_or_raise(self))
        return;
    object_as<PushButtonObject>(self)->isDefault = (on & 0xFF) != 0;
    if (button_pane(self))
        refresh_default_look(control_fields(self)->m_view);
}

int32_t pushButtonCancelGetter(RuntimeObject* self, int32_t)
{
    return control_or_raise(self) && object_as<PushButtonObject>(self)->isCancel;
}

void pushButtonCancelSetter(RuntimeObject* self, int32_t, int32_t on)
{
    if (control_or_raise(self))
        object_as<PushButtonObject>(self)->isCancel = (on & 0xFF) != 0;
}

void pushButtonPush(RuntimeObject* self)
{
    if (ButtonPane* pane = button_pane(self))
        pane->Push();
}

// ---- CheckBox -----------------------------------------------------------------------------

RuntimeString* checkBoxTitleGetter(RuntimeObject* self, int32_t)
{
    return caption(self, offsetof(CheckBoxObject, caption));
}

void checkBoxTitleSetter(RuntimeObject* self, int32_t, RuntimeString* text)
{
    set_caption(self, offsetof(CheckBoxObject, caption), text, true);
}

int32_t checkBoxValueGetter(RuntimeObject* self, int32_t)
{
    return control_or_raise(self) && object_as<CheckBoxObject>(self)->value;
}

// Set from code: the mark changes, nobody is told and no Action runs.
void checkBoxValueSetter(RuntimeObject* self, int32_t, int32_t on)
{
    if (!control_or_raise(self))
        return;
    if (ButtonPane* pane = button_pane(self))
        pane->SetCheck((on & 0xFF) != 0);
    object_as<CheckBoxObject>(self)->value = (on & 0xFF) != 0;
}

RuntimeString* CheckBoxDataSourceGetter(RuntimeObject* self, int32_t)
{
    return caption(self, offsetof(CheckBoxObject, dataSource));
}

void CheckBoxDataSourceSetter(RuntimeObject* self, int32_t, RuntimeString* name)
{
    if (control_or_raise(self))
        stringSetter(self, offsetof(CheckBoxObject, dataSource), name);
}

void CheckBoxDataFieldSetter(RuntimeObject* self, int32_t param, RuntimeString* name)
{
    if (control_or_raise(self))
        stringSetter(self, param, name);
}

// ---- RadioButton --------------------------------------------------------------------------

RuntimeString* radioTitleGetter(RuntimeObject* self, int32_t)
{
    return caption(self, offsetof(RadioButtonObject, caption));
}

void radioTitleSetter(RuntimeObject* self, int32_t, RuntimeString* text)
{
    set_caption(self, offsetof(RadioButtonObject, caption), text, false);
}

int32_t radioValueGetter(RuntimeObject* self, int32_t)
{
    return control_or_raise(self) && object_as<RadioButtonObject>(self)->value;
}

void radioValueSetter(RuntimeObject* self, int32_t, int32_t on)
{
    if (!control_or_raise(self))
        return;
    if (ButtonPane* pane = button_pane(self))
        pane->SetCheck((on & 0xFF) != 0);
    object_as<RadioButtonObject>(self)->value = (on & 0xFF) != 0;
}

// ---- GroupBox -----------------------------------------------------------------------------

RuntimeString* groupCaptionGetter(RuntimeObject* self, int32_t)
{
    return caption(self, offsetof(GroupBoxObject, caption));
}

void groupCaptionSetter(RuntimeObject* self, int32_t, RuntimeString* text)
{
    set_caption(self, offsetof(GroupBoxObject, caption), text, false);
}

// ---- StaticText ---------------------------------------------------------------------------

void staticCaptionSetter(RuntimeObject* self, int32_t, RuntimeString* text)
{
    if (!control_or_raise(self))
        return;
    stringSetter(self, offsetof(StaticTextObject, text), text);
    if (StaticTextPane* pane = text_pane(self); pane && pane->SetText(utf16_of(text))) {
        pane->RegisterMnemonic(utf8_of(text));
        pane->Invalidate(true);
    }
}

void staticTextAlignSetter(RuntimeObject* self, int32_t param, int32_t align)
{
    if (!control_or_raise(self))
        return;
    shortSetter(self, param, align);
    if (StaticTextPane* pane = text_pane(self))
        pane->Invalidate(true);
}

void staticTextColorSetter(RuntimeObject* self, int32_t param, int32_t colour)
{
    if (!control_or_raise(self))
        return;
    const bool changed = intGetter(self, param) != colour;
    intSetter(self, param, colour);
    if (StaticTextPane* pane = text_pane(self); pane && changed)
        pane->Invalidate(true);
}

void staticAttributeSetter(RuntimeObject* self, int32_t param, int32_t on)
{
    if (!control_or_raise(self))
        return;
    boolSetter(self, param, on);
    font_changed(self, kStaticTextFont);
}

void staticTextFontSetter(RuntimeObject* self, int32_t, RuntimeString* name)
{
    set_font_name(self, kStaticTextFont, name);
}

void staticTextSizeSetter(RuntimeObject* self, int32_t, int32_t size) { set_font_size(self, kStaticTextFont, size); }

RuntimeString* StaticTextDataSourceGetter(RuntimeObject* self, int32_t)
{
    return caption(self, offsetof(StaticTextObject, dataSource));
}

void StaticTextDataSourceSetter(RuntimeObject* self, int32_t, RuntimeString* name)
{
    if (control_or_raise(self))
        stringSetter(self, offsetof(StaticTextObject, dataSource), name);
}

void StaticTextDataFieldSetter(RuntimeObject* self, int32_t param, RuntimeString* name)
{
    if (control_or_raise(self))
        stringSetter(self, param, name);
}

}  // extern "C"

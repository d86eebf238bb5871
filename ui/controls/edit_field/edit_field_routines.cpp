// EditField's property accessors and methods: every property is stored in the field and
// passed on to the peer when there is one; Text is read from the peer, where the user edits.
#include <utility>

#include "platform/message_box.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/strings/string_ref.h"
#include "ui/controls/control_routines.h"
#include "ui/controls/control_text.h"
#include "ui/controls/edit_field/edit_field_object.h"
#include "ui/controls/edit_field/edit_pane.h"
#include "ui/style_runs.h"

using qv::StringRef;
using qv::ui::EditFieldObject;
using qv::ui::EditPane;
using qv::ui::utf16_of;

namespace {

EditFieldObject* field_of(RuntimeObject* self)
{
    return qv::ui::control_or_raise(self) ? qv::ui::edit_fields(self) : nullptr;
}

EditPane* pane_of(RuntimeObject* self)
{
    EditFieldObject* f = field_of(self);
    return f ? static_cast<EditPane*>(f->control.paneInstance) : nullptr;
}

std::string path_of(RuntimeObject* folder_item)
{
    const StringRef path = StringRef::adopt(fileAbsolutePathGetter(folder_item, 0)).ToUTF8();
    return path.is_nil() ? std::string() : std::string(path.CText());
}

bool on(int32_t value) { return (value & 0xFF) != 0; }

void refresh_font(RuntimeObject* self)
{
    if (EditPane* pane = pane_of(self))
        pane->SetFont(qv::ui::edit_field_font(qv::ui::edit_fields(self)));
}

int32_t stored_flag(RuntimeObject* self, u8 EditFieldObject::*field)
{
    EditFieldObject* f = field_of(self);
    return f && f->*field;
}

void store_flag(RuntimeObject* self, u8 EditFieldObject::*field, int32_t value)
{
    if (EditFieldObject* f = field_of(self))
        f->*field = on(value);
}

// Outline, shadow, condensed and extended styles cannot be shown on this platform.
void unsupported_style(const char* style)
{
    const std::string text = std::string("Windows does not support the '") + style + "' text font style.";
    platform::show_warning("", text.c_str());
}

// No peer: no format.
CHARFORMATW selection_format(EditPane* pane) { return pane ? pane->SelectionFormat() : CHARFORMATW{}; }

void set_selection_format(EditPane* pane, DWORD mask, DWORD effects)
{
    if (pane)
        pane->SetSelectionEffects(mask, effects);
}

int32_t selection_has(RuntimeObject* self, DWORD mask, DWORD effect)
{
    const CHARFORMATW format = selection_format(pane_of(self));
    return (format.dwMask & mask) && (format.dwEffects & effect) ? 1 : 0;
}

void selection_set(RuntimeObject* self, DWORD mask, DWORD effect, int32_t value)
{
    set_selection_format(pane_of(self), mask, on(value) ? effect : 0);
}

void selection_toggle(RuntimeObject* self, DWORD mask, DWORD effect)
{
    selection_set(self, mask, effect, !selection_has(self, mask, effect));
}

}  // namespace

extern "C" {

RuntimeString* editTextGetter(RuntimeObject* self, int32_t)
{
    EditFieldObject* f = field_of(self);
    if (!f)
        return nullptr;
    if (EditPane* pane = pane_of(self))
        return pane->Text().leak();
    return StringRef::share(f->text).leak();
}

void editTextSetter(RuntimeObject* self, int32_t, RuntimeString* text)
{
    EditFieldObject* f = field_of(self);
    if (!f)
        return;
    StringRef kept = StringRef::share(text);  // before the peer's events run: they may replace the text
    if (EditPane* pane = pane_of(self))
        pane->SetText(StringRef::share(text));
    StringRef::adopt(std::exchange(f->text, kept.leak()));  // the field's count moves to the new text
}

// The formats live in the native control: a field without one has plain text, and its style
// data is empty.
RuntimeString* editTextStyleDataGetter(RuntimeObject* self, int32_t)
{
    if (!field_of(self))
        return nullptr;
    EditPane* pane = pane_of(self);
    const std::string data = pane ? qv::ui::encode_style_runs(pane->StyleRuns()) : std::string();
    return StringRef::FromBytes(data.data(), static_cast<i32>(data.size())).leak();
}

// Style data that is not style runs leaves the text in the field's own format.
void editSetTextAndStyle(RuntimeObject* self, RuntimeString* text, RuntimeString* style)
{
    editTextSetter(self, 0, text);
    EditPane* pane = pane_of(self);
    if (!pane)
        return;
    const StringRef data = StringRef::share(style);
    const std::optional<std::vector<qv::ui::StyleRun>> runs =
        qv::ui::decode_style_runs({data.bytes(), static_cast<size_t>(data.is_nil() ? 0 : data.length())});
    if (runs)
        pane->SetStyleRuns(qv::ui::fit_runs(*runs, static_cast<i32>(utf16_of(text).size())));
}

int32_t editBorderGetter(RuntimeObject* self, int32_t) { return stored_flag(self, &EditFieldObject::border); }
void editBorderSetter(RuntimeObject* self, int32_t, int32_t v) { store_flag(self, &EditFieldObject::border, v); }
int32_t editMultiLineGetter(RuntimeObject* self, int32_t) { return stored_flag(self, &EditFieldObject::multiLine); }
void editMultiLineSetter(RuntimeObject* self, int32_t, int32_t v) { store_flag(self, &EditFieldObject::multiLine, v); }
int32_t editScrollBarGetter(RuntimeObject* self, int32_t)
{
    return stored_flag(self, &EditFieldObject::scrollBarVertical);
}
void editScrollBarSetter(RuntimeObject* self, int32_t, int32_t v)
{
    store_flag(self, &EditFieldObject::scrollBarVertical, v);
}

int32_t editReadOnlyGetter(RuntimeObject* self, int32_t) { return stored_flag(self, &EditFieldObject::readOnly); }
void editReadOnlySetter(RuntimeObject* self, int32_t, int32_t v)
{
    store_flag(self, &EditFieldObject::readOnly, v);
    if (EditPane* pane = pane_of(self))
        pane->SetReadOnly(on(v));
}

int32_t editPasswordGetter(RuntimeObject* self, int32_t) { return stored_flag(self, &EditFieldObject::password); }
void editPasswordSetter(RuntimeObject* self, int32_t, int32_t v)
{
    store_flag(self, &EditFieldObject::password, v);
    if (EditPane* pane = pane_of(self))
        pane->SetPassword(on(v));
}

int32_t editLimitTextGetter(RuntimeObject* self, int32_t)
{
    EditFieldObject* f = field_of(self);
    return f ? f->limitText : 0;
}
void editLimitTextSetter(RuntimeObject* self, int32_t, int32_t limit)
{
    if (EditFieldObject* f = field_of(self))
        f->limitText = limit;
    if (EditPane* pane = pane_of(self))
        pane->SetLimit(limit);
}

void editTextColorSetter(RuntimeObject* self, int32_t, int32_t colour)
{
    if (EditFieldObject* f = field_of(self))
        f->textColor = colour;
    if (EditPane* pane = pane_of(self))
        pane->SetTextColor(colour);
}

void editBackColorSetter(RuntimeObject* self, int32_t, int32_t colour)
{
    if (EditFieldObject* f = field_of(self))
        f->backColor = colour;
    if (EditPane* pane = pane_of(self))
        pane->SetBackColor(colour);
}

void EditAlignmentSetter(RuntimeObject* self, int32_t, int32_t alignment)
{
    if (EditFieldObject* f = field_of(self))
        f->alignment = alignment;
    if (EditPane* pane = pane_of(self))
        pane->SetAlignment(alignment);
}

RuntimeString* editTextFontGetter(RuntimeObject* self, int32_t)
{
    EditFieldObject* f = field_of(self);
    return f ? StringRef::share(f->textFont).leak() : nullptr;
}
void editTextFontSetter(RuntimeObject* self, int32_t, RuntimeString* name)
{
    if (field_of(self))
        stringSetter(self, offsetof(EditFieldObject, textFont), name);
    refresh_font(self);
}
int32_t editTextSizeGetter(RuntimeObject* self, int32_t)
{
    EditFieldObject* f = field_of(self);
    return f ? f->textSize : 0;
}
void editTextSizeSetter(RuntimeObject* self, int32_t, int32_t size)
{
    if (EditFieldObject* f = field_of(self))
        f->textSize = static_cast<i16>(size);
    refresh_font(self);
}
int32_t editBoldGetter(RuntimeObject* self, int32_t) { return stored_flag(self, &EditFieldObject::bold); }
void editBoldSetter(RuntimeObject* self, int32_t, int32_t v)
{
    store_flag(self, &EditFieldObject::bold, v);
    refresh_font(self);
}
int32_t editItalicGetter(RuntimeObject* self, int32_t) { return stored_flag(self, &EditFieldObject::italic); }
void editItalicSetter(RuntimeObject* self, int32_t, int32_t v)
{
    store_flag(self, &EditFieldObject::italic, v);
    refresh_font(self);
}
int32_t editUnderlineGetter(RuntimeObject* self, int32_t) { return stored_flag(self, &EditFieldObject::underline); }
void editUnderlineSetter(RuntimeObject* self, int32_t, int32_t v)
{
    store_flag(self, &EditFieldObject::underline, v);
    refresh_font(self);
}

int32_t editSelStartGetter(RuntimeObject* self, int32_t)
{
    EditPane* pane = pane_of(self);
    return pane ? pane->SelStart() : 0;
}
void editSelStartSetter(RuntimeObject* self, int32_t, int32_t start)
{
    if (EditPane* pane = pane_of(self))
        pane->SetSelection(start < 0 ? 0 : start, pane->SelLength());
}
int32_t editSelLengthGetter(RuntimeObject* self, int32_t)
{
    EditPane* pane = pane_of(self);
    return pane ? pane->SelLength() : 0;
}
void editSelLengthSetter(RuntimeObject* self, int32_t, int32_t length)
{
    if (EditPane* pane = pane_of(self))
        pane->SetSelection(pane->SelStart(), length);
}
RuntimeString* editSelTextGetter(RuntimeObject* self, int32_t)
{
    EditPane* pane = pane_of(self);
    return pane ? pane->SelText().leak() : nullptr;
}
void editSelTextSetter(RuntimeObject* self, int32_t, RuntimeString* text)
{
    if (EditPane* pane = pane_of(self))
        pane->SetSelectedText(utf16_of(text));
}

int32_t editSelBoldGetter(RuntimeObject* self, int32_t) { return selection_has(self, CFM_BOLD, CFE_BOLD); }
void editSelBoldSetter(RuntimeObject* self, int32_t, int32_t v) { selection_set(self, CFM_BOLD, CFE_BOLD, v); }
int32_t editSelItalicGetter(RuntimeObject* self, int32_t) { return selection_has(self, CFM_ITALIC, CFE_ITALIC); }
void editSelItalicSetter(RuntimeObject* self, int32_t, int32_t v) { selection_set(self, CFM_ITALIC, CFE_ITALIC, v); }
int32_t editSelUnderlineGetter(RuntimeObject* self, int32_t)
{
    return selection_has(self, CFM_UNDERLINE, CFE_UNDERLINE);
}
void editSelUnderlineSetter(RuntimeObject* self, int32_t, int32_t v)
{
    selection_set(self, CFM_UNDERLINE, CFE_UNDERLINE, v);
}
int32_t editSelPlainGetter(RuntimeObject* self, int32_t)
{
    const CHARFORMATW format = selection_format(pane_of(self));
    return pane_of(self) && !(format.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE));
}
void editSelPlainSetter(RuntimeObject* self, int32_t, int32_t v)
{
    if (on(v))
        set_selection_format(pane_of(self), CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE, 0);
}
int32_t editSelOutlineGetter(RuntimeObject*, int32_t) { return 0; }
int32_t editSelShadowGetter(RuntimeObject*, int32_t) { return 0; }
int32_t editSelCondenseGetter(RuntimeObject*, int32_t) { return 0; }
int32_t editSelExtendGetter(RuntimeObject*, int32_t) { return 0; }
void editSelOutlineSetter(RuntimeObject*, int32_t, int32_t) { unsupported_style("Outline"); }
void editSelShadowSetter(RuntimeObject*, int32_t, int32_t) { unsupported_style("Shadow"); }
void editSelCondenseSetter(RuntimeObject*, int32_t, int32_t) { unsupported_style("Condensed"); }
void editSelExtendSetter(RuntimeObject*, int32_t, int32_t) { unsupported_style("Extended"); }
void editToggleSelectionOutline(RuntimeObject*) { unsupported_style("Outline"); }
void editToggleSelectionShadow(RuntimeObject*) { unsupported_style("Shadow"); }
void editToggleSelectionCondense(RuntimeObject*) { unsupported_style("Condensed"); }
void editToggleSelectionExtend(RuntimeObject*) { unsupported_style("Extended"); }
void editToggleSelectionBold(RuntimeObject* self) { selection_toggle(self, CFM_BOLD, CFE_BOLD); }
void editToggleSelectionItalic(RuntimeObject* self) { selection_toggle(self, CFM_ITALIC, CFE_ITALIC); }
void editToggleSelectionUnderline(RuntimeObject* self) { selection_toggle(self, CFM_UNDERLINE, CFE_UNDERLINE); }

RuntimeString* editSelTextFontGetter(RuntimeObject* self, int32_t)
{
    if (!pane_of(self))
        return nullptr;
    const CHARFORMATW format = selection_format(pane_of(self));
    return StringRef::FromWide(reinterpret_cast<const u16*>(format.szFaceName),
                               static_cast<i32>(wcsnlen(format.szFaceName, LF_FACESIZE)))
        .ToUTF8()
        .leak();
}
void editSelTextFontSetter(RuntimeObject* self, int32_t, RuntimeString* name)
{
    if (EditPane* pane = pane_of(self))
        pane->SetSelectionFace(utf16_of(name));
}
int32_t editSelTextSizeGetter(RuntimeObject* self, int32_t)
{
    return pane_of(self) ? pane_of(self)->SelectionSize() : 0;
}
void editSelTextSizeSetter(RuntimeObject* self, int32_t, int32_t size)
{
    if (EditPane* pane = pane_of(self))
        pane->SetSelectionSize(size);
}
int32_t editSelTextColorGetter(RuntimeObject* self, int32_t)
{
    if (!pane_of(self))
        return 0;
    return pane_of(self)->SelectionColor();
}
void editSelTextColorSetter(RuntimeObject* self, int32_t, int32_t colour)
{
    if (EditPane* pane = pane_of(self))
        pane->SetSelectionColor(colour);
}

int32_t EditSelAlignmentGetter(RuntimeObject* self, int32_t)
{
    EditPane* pane = pane_of(self);
    return pane ? pane->SelectionAlignment() : 0;
}
void EditSelAlignmentSetter(RuntimeObject* self, int32_t, int32_t alignment)
{
    if (EditPane* pane = pane_of(self))
        pane->SetSelectionAlignment(alignment);
}

RuntimeString* EditDataSourceGetter(RuntimeObject* self, int32_t)
{
    EditFieldObject* f = field_of(self);
    return f ? StringRef::share(f->dataSource).leak() : nullptr;
}
void EditDataSourceSetter(RuntimeObject* self, int32_t, RuntimeString* name)
{
    if (field_of(self))
        stringSetter(self, offsetof(EditFieldObject, dataSource), name);
}
void EditDataFieldSetter(RuntimeObject* self, int32_t param, RuntimeString* name)
{
    if (field_of(self))
        stringSetter(self, param, name);
}

void editCopyToClipboard(RuntimeObject* self)
{
    if (EditPane* pane = pane_of(self))
        pane->Copy();
}
void editPasteFromClipboard(RuntimeObject* self)
{
    EditFieldObject* f = field_of(self);
    if (EditPane* pane = pane_of(self); pane && !f->readOnly)
        pane->Paste();
}

int32_t editLineNumAtCharPos(RuntimeObject* self, int32_t position)
{
    EditPane* pane = pane_of(self);
    return pane ? pane->LineAtChar(position) : 0;
}
int32_t editCharPosAtLineNum(RuntimeObject* self, int32_t line)
{
    EditPane* pane = pane_of(self);
    return pane ? pane->CharAtLine(line) : 0;
}
int32_t editCharPosAtXY(RuntimeObject* self, int32_t x, int32_t y)
{
    EditPane* pane = pane_of(self);
    return pane ? pane->CharAtPoint(x, y) : 0;
}
int32_t editInsertionPosAtXY(RuntimeObject* self, int32_t x, int32_t y) { return editCharPosAtXY(self, x, y); }
int32_t editScrollPositionGetter(RuntimeObject* self)
{
    EditPane* pane = pane_of(self);
    return pane ? pane->FirstVisibleLine() : 0;
}
int32_t EditScrollPositionXGetter(RuntimeObject* self)
{
    EditPane* pane = pane_of(self);
    return pane ? pane->HorizontalScroll() : 0;
}

// A file that cannot be read leaves the field as it was; neither direction reports a failure.
void FolderItemOpenStyledEditField(RuntimeObject* item, RuntimeObject* field)
{
    EditFieldObject* f = field_of(field);
    EditPane* pane = pane_of(field);
    if (!item || !f || !pane)
        return;
    if (!pane->LoadStyledFile(path_of(item)))
        return;
    // Loading is the program's doing: the text counts as set from code.
    StringRef::adopt(std::exchange(f->text, pane->Text().leak()));
}

void FolderItemSaveStyledEditField(RuntimeObject* item, RuntimeObject* field)
{
    if (!item) {
        qv::assertion_failed("EditField", 0, "folderItem");
        return;
    }
    if (EditPane* pane = field_of(field) ? pane_of(field) : nullptr)
        pane->SaveStyledFile(path_of(item));
}

// Printing is not carried by this platform's runtime: there is no printer object to give.
RuntimeObject* editStyleTextPrinter(RuntimeObject*, RuntimeObject*, int32_t) { return nullptr; }

}  // extern "C"

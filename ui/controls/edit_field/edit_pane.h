// The edit field's native peer: a rich edit control. It raises the field's events, keeps the
// unmasked text of a password field, and serves the Edit menu while the field has the focus.
#pragma once

#include "platform/win32/windows_api.h"

#include <richedit.h>

#include <span>
#include <string>
#include <vector>

#include "runtime/strings/string_ref.h"
#include "ui/controls/edit_field/edit_field_object.h"
#include "ui/controls/font_cache.h"
#include "ui/controls/sub_pane.h"
#include "ui/style_runs.h"

namespace qv::ui {

class EditPane final : public SubPane {
public:
    // Builds the peer of `field` inside `parent` from the field's stored properties (no
    // TextChange or SelChange runs meanwhile); null if the native control cannot be made.
    static EditPane* Create(RuntimeObject* field, HWND parent);
    ~EditPane() override;

    // UTF-8, line ends as lone CRs; the unmasked text of a password field. A multi-line field
    // keeps the text set from code and reads give it back; the control gets it at the event
    // loop's next turn, or before it handles any message, whichever comes first.
    StringRef Text() const;
    void SetText(const StringRef& text);

    // Positions count UTF-16 units, as the native control does.
    i32 SelStart() const;
    i32 SelLength() const;
    void SetSelection(i32 start, i32 length);
    StringRef SelText() const;
    // Replaces the selection (through the masking of a password field).
    void ReplaceSelection(const std::u16string& text);
    // The same from code (SelText): like Text set from code, not sent to a data source.
    void SetSelectedText(const std::u16string& text);

    void SetReadOnly(bool on);
    void SetLimit(i32 characters);
    void SetTextColor(i32 rgb);
    void SetBackColor(i32 rgb);
    void SetAlignment(i32 alignment);
    void SetPassword(bool on);
    void SetAcceptTabs(bool on) { m_accept_tabs = on; }
    void SetFont(const FontDescription& font);

    // The selection's character format (nothing read without a control), and changes to it that
    // apply to the selection only. Sizes in points, colours 0x00RRGGBB; alignment 1 left,
    // 2 centre, 3 right.
    CHARFORMATW SelectionFormat() const;
    void SetSelectionEffects(DWORD mask, DWORD effects);
    void SetSelectionFace(const std::u16string& face);
    i32 SelectionSize() const;
    void SetSelectionSize(i32 points);
    i32 SelectionColor() const;
    void SetSelectionColor(i32 rgb);
    i32 SelectionAlignment() const;
    void SetSelectionAlignment(i32 alignment);

    // The text's formats as style runs, from its start to its end.
    std::vector<StyleRun> StyleRuns();
    // Gives the runs to the text from its start (fit them to it first); the text past them
    // keeps its format. Neither moves the selection or fires SelChange.
    void SetStyleRuns(std::span<const StyleRun> runs);
    // Styled text from a file: RTF when its first bytes are "{\rtf", else plain text; fires
    // TextChange. False, the field unchanged, when the file cannot be read (or the field
    // masks a password).
    bool LoadStyledFile(const std::string& utf8_path);
    // The styled text as RTF, into a file made anew; false when it cannot be made.
    bool SaveStyledFile(const std::string& utf8_path);

    void Cut();
    void Copy();
    void Paste();
    void Clear();

    // The Edit menu items by name, while the field has the focus.
    void EnableMenuItems() override;
    // True when `item` is an Edit item this field carried out.
    bool DoMenuCommand(RuntimeObject* item) override;

    i32 LineAtChar(i32 position) const;
    i32 CharAtLine(i32 line) const;
    i32 CharAtPoint(i32 x, i32 y) const;
    i32 FirstVisibleLine() const;
    i32 HorizontalScroll() const;

    void SetState(i32 state) override;
    bool CanTakeFocus() const override;
    void GainFocus() override;
    void LoseFocus() override;
    bool AcceptsTab() const override { return m_accept_tabs; }
    bool AcceptsReturn() const override;
    bool DoMouseWheel(i32 x, i32 y, i32 lines) override;
    void DoCommand(u32 notification) override;
    void DoNotify(NMHDR* header) override;

private:
    explicit EditPane(RuntimeObject* field);
    bool OwnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;

    std::u16string NativeText() const;
    void SetTextFromCode(const StringRef& text);
    void SetNativeText(const std::u16string& text);
    // The text as the control would give it back, when keeping it here is safe; nil otherwise.
    StringRef KeptForm(const StringRef& text) const;
    // Gives the control the kept text if it does not have it yet.
    void PushText();
    // The control's text may have changed: the next read asks the control.
    void ForgetText() const { m_text_known = false; }
    void FireTextChange();
    // A change the user made goes to the field's data source, if it is bound to one.
    void PushToDataSource();
    // Runs `change`, a change of the text from code: its TextChange sends nothing to the
    // field's data source.
    template <typename F>
    void FromCode(F change);
    void FireSelChange();
    void AfterEdit();
    template <typename F>
    void EditThenNotify(F change);
    bool TypeIntoPassword(char16_t c);
    bool HasSelection() const { return SelLength() > 0; }
    void ApplyToSelection(CHARFORMATW& format);
    // The format shared by the units [start, start + length): only the attributes the whole
    // range has in common are in its mask.
    CHARFORMATW RangeFormat(i32 start, i32 length);
    // Runs `change` with the selection hidden, put back as it was afterwards.
    template <typename F>
    void KeepingSelection(F change);
    // Runs `change` with the control's events switched off.
    template <typename F>
    void Quietly(F change);

    FontRef m_font;
    bool m_password = false;
    std::u16string m_unmasked;  // the real text while Password is on
    bool m_accept_tabs = false;
    bool m_enabled = true;
    i32 m_alignment = 0;
    COLORREF m_back_colour;
    COLORREF m_saved_text_colour = 0;
    bool m_mouse_down_taken = false;
    // Reading and writing a large text through the control costs far more than the conversion
    // around it: the field's text is kept here and pushed once per turn of the event loop.
    mutable StringRef m_text;  // the control's text, when m_text_known
    mutable bool m_text_known = false;
    bool m_push_pending = false;  // m_text has yet to reach the control
    bool m_pushing = false;
    i32 m_code_changes = 0;            // changes from code under way (FromCode)
    bool m_pushing_to_source = false;  // the source's echo of a push sets the same text again
};

// The field's font description, from its record.
FontDescription edit_field_font(const EditFieldObject* field);

}  // namespace qv::ui

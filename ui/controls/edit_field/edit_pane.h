// The edit field's native peer: a rich edit control. It raises the field's events, keeps the
// unmasked text of a password field, and serves the Edit menu while the field has the focus.
#pragma once

#include <string>

#include "runtime/strings/string_ref.h"
#include "ui/controls/font_cache.h"
#include "ui/controls/sub_pane.h"

namespace qv::ui {

class EditPane final : public SubPane {
public:
    // Builds the peer of `field` inside `parent` from the field's stored properties (no
    // TextChange or SelChange runs meanwhile); null if the native control cannot be made.
    static EditPane* Create(RuntimeObject* field, HWND parent);
    ~EditPane() override;

    // UTF-8, line ends as lone CRs; the unmasked text of a password field.
    StringRef Text() const;
    void SetText(const StringRef& text);

    // Positions count UTF-16 units, as the native control does.
    i32 SelStart() const;
    i32 SelLength() const;
    void SetSelection(i32 start, i32 length);
    StringRef SelText() const;
    // Replaces the selection (through the masking of a password field).
    void ReplaceSelection(const std::u16string& text);

    void SetReadOnly(bool on);
    void SetLimit(i32 characters);
    void SetTextColor(i32 rgb);
    void SetBackColor(i32 rgb);
    void SetAlignment(i32 alignment);
    void SetPassword(bool on);
    void SetAcceptTabs(bool on) { m_accept_tabs = on; }
    void SetFont(const FontDescription& font);

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
    void DoCommand(u32 notification) override;
    void DoNotify(NMHDR* header) override;

private:
    explicit EditPane(RuntimeObject* field);
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT OwnMessage(UINT message, WPARAM wparam, LPARAM lparam);

    std::u16string NativeText() const;
    void SetNativeText(const std::u16string& text);
    void FireTextChange();
    void FireSelChange();
    void AfterEdit();
    template <typename F>
    void EditThenNotify(F change);
    bool TypeIntoPassword(char16_t c);
    bool ClipboardHasText() const;
    std::u16string ClipboardText() const;
    bool HasSelection() const { return SelLength() > 0; }
    // Runs `change` with the control's events switched off.
    template <typename F>
    void Quietly(F change);

    WNDPROC m_native_procedure = nullptr;
    HFONT m_font = nullptr;
    bool m_password = false;
    std::u16string m_unmasked;  // the real text while Password is on
    bool m_accept_tabs = false;
    bool m_enabled = true;
    i32 m_alignment = 0;
    COLORREF m_back_colour;
    COLORREF m_saved_text_colour = 0;
    bool m_mouse_down_taken = false;
};

}  // namespace qv::ui

// The peer of the native "BUTTON" controls: push buttons and check boxes sit in a QV_Pane
// container, radio buttons and group boxes are the native button itself. Clicks become the
// control's MouseDown, MouseUp and Action; check marks are set by the runtime, never by the
// native control itself.
#pragma once

#include <string>

#include "ui/controls/font_cache.h"
#include "ui/controls/sub_pane.h"

namespace qv::ui {

enum class ButtonKind { Push, Check, Radio, Group };

class ButtonPane final : public SubPane {
public:
    // The peer of `control` inside `parent`, with its caption; null if Win32 refuses.
    static ButtonPane* Create(RuntimeObject* control, ButtonKind kind, HWND parent, const std::string& caption);
    ~ButtonPane() override;

    ButtonKind kind() const { return m_kind; }
    HWND button() const { return m_button; }

    void SetCaption(const std::string& caption);
    void SetFont(const FontDescription& font);
    void SetCheck(bool on);
    bool Checked() const;
    // Draws the button as its window's default button (or not).
    void SetDefaultLook(bool on);
    // Registers the caption's mnemonic as the button's shortcut (push buttons and check boxes).
    void RegisterMnemonic(const std::string& caption);

    void SetState(i32 state) override;
    void SetBounds(const ControlBounds& bounds, bool redraw) override;
    bool CanTakeFocus() const override;
    void GainFocus() override;
    void LoseFocus() override;
    bool IsButton() const override { return m_kind == ButtonKind::Push; }
    // What a click does, without the mouse: push buttons act, check boxes and radio buttons
    // change as if clicked. Nothing when disabled.
    void Push() override;
    void DoCommand(u32 notification) override;

private:
    ButtonPane(RuntimeObject* control, ButtonKind kind);
    bool OwnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) override;
    void Clicked();
    void SelectRadio();

    ButtonKind m_kind;
    HWND m_button = nullptr;  // the native button (m_window itself for radio buttons and group boxes)
    FontRef m_font;
    u32 m_shortcut_target = 0;        // the native button, while a mnemonic is registered
    bool m_mouse_down_taken = false;  // the last MouseDown handler returned True
    bool m_clicking = false;
};

// The window's default and cancel buttons (enabled and shown push buttons with the flag), and
// the default look that follows the focus.
ButtonPane* default_button_of(RuntimeObject* window);
ButtonPane* cancel_button_of(RuntimeObject* window);
void refresh_default_look(RuntimeObject* window);

}  // namespace qv::ui

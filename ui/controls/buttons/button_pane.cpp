#include "ui/controls/buttons/button_pane.h"

#include <utility>

#include "framework/application/event_firing.h"
#include "framework/shortcut_registry.h"
#include "platform/win32/failed_call.h"
#include "ui/binding/control_binding.h"
#include "ui/caption_mnemonic.h"
#include "ui/controls/buttons/button_objects.h"
#include "ui/controls/control_routines.h"
#include "ui/controls/pane_windows.h"
#include "ui/controls/window_access.h"
#include "ui/controls/window_controls.h"

namespace qv::ui {
namespace {

DWORD native_style(ButtonKind kind)
{
    switch (kind) {
    case ButtonKind::Push: return BS_PUSHBUTTON;
    case ButtonKind::Check: return BS_CHECKBOX | BS_NOTIFY;
    case ButtonKind::Radio: return BS_RADIOBUTTON | BS_NOTIFY;
    case ButtonKind::Group: return BS_GROUPBOX;
    }
    return BS_PUSHBUTTON;
}

bool in_container(ButtonKind kind) { return kind == ButtonKind::Push || kind == ButtonKind::Check; }

i32 low_x(LPARAM lparam) { return static_cast<short>(LOWORD(lparam)); }
i32 high_y(LPARAM lparam) { return static_cast<short>(HIWORD(lparam)); }

template <typename Visit>
void for_each_push_button(RuntimeObject* window, Visit visit)
{
    for (const ObjectRef& held : window_control_list(window)) {
        RuntimeObject* control = held.get();
        if (!is_control(control))
            continue;
        auto* pane = dynamic_cast<ButtonPane*>(control_fields(control)->paneInstance);
        if (pane && pane->kind() == ButtonKind::Push)
            visit(control, pane);
    }
}

ButtonPane* flagged_button(RuntimeObject* window, u8 PushButtonObject::*flag)
{
    ButtonPane* found = nullptr;
    for_each_push_button(window, [&](RuntimeObject* control, ButtonPane* pane) {
        if (!found && object_as<PushButtonObject>(control)->*flag && IsWindowEnabled(pane->button()) &&
            IsWindowVisible(pane->handle()))
            found = pane;
    });
    return found;
}

}  // namespace

ButtonPane::ButtonPane(RuntimeObject* control, ButtonKind kind) : SubPane(control), m_kind(kind) { }

ButtonPane* ButtonPane::Create(RuntimeObject* control, ButtonKind kind, HWND parent, const std::string& caption)
{
    HWND outer = parent;
    if (in_container(kind)) {
        outer = create_pane_window(kPaneClass, parent);
        if (!outer)
            return nullptr;
    }
    const DWORD visible = in_container(kind) ? WS_VISIBLE : 0;
    HWND button = CreateWindowExW(0, L"BUTTON", platform::win32::widen(caption.c_str()).c_str(),
                                  WS_CHILD | WS_CLIPSIBLINGS | WS_TABSTOP | visible | native_style(kind), 0, 0, 0, 0,
                                  outer, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!button) {
        platform::win32::note_failed_call("CreateWindowExW", "BUTTON");
        if (outer != parent)
            DestroyWindow(outer);
        return nullptr;
    }
    auto* pane = new ButtonPane(control, kind);
    pane->Attach(in_container(kind) ? outer : button, true);
    pane->m_button = button;
    pane->Subclass(button);
    return pane;
}

ButtonPane::~ButtonPane()
{
    if (m_shortcut_target)
        shortcut_registry().Unregister(m_shortcut_target, kShortcutControl);
}

void ButtonPane::SetCaption(const std::string& caption)
{
    if (m_button)
        SetWindowTextW(m_button, platform::win32::widen(caption.c_str()).c_str());
}

void ButtonPane::RegisterMnemonic(const std::string& caption)
{
    if (!m_button)
        return;
    const u32 target = static_cast<u32>(reinterpret_cast<uintptr_t>(m_button));
    const std::string shortcut = mnemonic_shortcut(caption);
    if (shortcut.empty()) {
        shortcut_registry().Unregister(target, kShortcutControl);
        m_shortcut_target = 0;
    } else {
        shortcut_registry().Register(target, kShortcutControl, shortcut);
        m_shortcut_target = target;
    }
}

void ButtonPane::SetFont(const FontDescription& font)
{
    // The previous font goes once the control has the new one.
    const FontRef previous = std::exchange(m_font, acquire_font(font));
    if (m_button && m_font)
        SendMessageW(m_button, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), TRUE);
}

void ButtonPane::SetCheck(bool on)
{
    if (m_button)
        SendMessageW(m_button, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool ButtonPane::Checked() const { return m_button && SendMessageW(m_button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void ButtonPane::SetDefaultLook(bool on)
{
    if (m_button && m_kind == ButtonKind::Push)
        SendMessageW(m_button, BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void ButtonPane::SetState(i32 state)
{
    SubPane::SetState(state);
    if (m_button != m_window && (state == kEnable || state == kDisable))
        EnableWindow(m_button, state == kEnable);
}

void ButtonPane::SetBounds(const ControlBounds& bounds, bool redraw)
{
    SubPane::SetBounds(bounds, redraw);
    if (m_button != m_window && m_button)
        MoveWindow(m_button, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top, redraw ? TRUE : FALSE);
}

bool ButtonPane::CanTakeFocus() const
{
    return m_kind != ButtonKind::Group && m_button && IsWindowVisible(m_button) && IsWindowEnabled(m_button);
}

void ButtonPane::GainFocus()
{
    if (m_button && GetFocus() != m_button)
        SetFocus(m_button);
    if (m_control) {
        refresh_default_look(control_fields(m_control)->m_view);
        fire_event(m_control, kButtonGotFocus);
    }
}

void ButtonPane::LoseFocus()
{
    if (!m_control)
        return;
    refresh_default_look(control_fields(m_control)->m_view);
    fire_event(m_control, kButtonLostFocus);
}

void ButtonPane::Push()
{
    if (!m_control || !m_button || !IsWindowEnabled(m_button))
        return;
    m_mouse_down_taken = false;
    Clicked();
}

void ButtonPane::DoCommand(u32 notification)
{
    if (notification == BN_CLICKED) {
        const bool taken = std::exchange(m_mouse_down_taken, false);
        if (!taken)
            Clicked();
    } else if (notification == BN_SETFOCUS && m_control && focus_pane() != this) {
        set_window_focus_pane(control_fields(m_control)->m_view, this);
        move_focus(this);
        if (m_kind == ButtonKind::Radio && !m_clicking && !Checked())
            SelectRadio();
    }
}

void ButtonPane::Clicked()
{
    RuntimeObject* control = m_control;
    if (!control)
        return;
    switch (m_kind) {
    case ButtonKind::Push: notify_button_pressed(control); break;
    case ButtonKind::Check: {
        SetCheck(!Checked());
        object_as<CheckBoxObject>(control)->value = Checked();
        notify_check_box_changed(control);
        break;
    }
    case ButtonKind::Radio:
        m_clicking = true;
        SelectRadio();
        m_clicking = false;
        break;
    case ButtonKind::Group: break;
    }
}

// Checks this button and unchecks the radio buttons beside it (the same parent window).
void ButtonPane::SelectRadio()
{
    RuntimeObject* control = m_control;
    RuntimeObject* window = control_fields(control)->m_view;
    HWND parent = GetAncestor(m_window, GA_PARENT);
    const std::vector<ObjectRef> all = window_control_list(window);
    std::vector<RuntimeObject*> unchecked;  // held by `all`
    for (const ObjectRef& held : all) {
        RuntimeObject* other = held.get();
        if (other == control || !is_control(other))
            continue;
        auto* pane = dynamic_cast<ButtonPane*>(control_fields(other)->paneInstance);
        if (pane && pane->kind() == ButtonKind::Radio && GetAncestor(pane->handle(), GA_PARENT) == parent) {
            pane->SetCheck(false);
            if (std::exchange(object_as<RadioButtonObject>(other)->value, u8{0}))
                unchecked.push_back(other);
        }
    }
    SetCheck(true);
    const bool newly_checked = !std::exchange(object_as<RadioButtonObject>(control)->value, u8{1});
    const ObjectRef held = ObjectRef::share(control);
    fire_event(control, kButtonAction);
    // The bound parts hear of the change: the buttons unchecked first, then this one.
    for (RuntimeObject* other : unchecked)
        notify_radio_changed(other, false);
    if (newly_checked)
        notify_radio_changed(control, true);
    if (m_control && focus_pane() != this && CanTakeFocus()) {
        set_window_focus_pane(window, this);
        move_focus(this);
    }
}

bool ButtonPane::OwnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result)
{
    HWND button = m_button;
    // A group box holds controls of its own: their notifications come here.
    if (reflect_control_message(button, message, wparam, lparam, result))
        return true;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (m_kind != ButtonKind::Group && m_control && IsWindowEnabled(button)) {
            m_mouse_down_taken = fire_boolean_event(m_control, kButtonMouseDown, false, low_x(lparam), high_y(lparam));
            if (m_mouse_down_taken) {
                *result = 0;
                return true;
            }
        }
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_NCLBUTTONUP:
        if (m_mouse_down_taken && m_control) {
            const i32 x = low_x(lparam), y = high_y(lparam);
            const bool still = fire_boolean_event(m_control, kButtonMouseUp, false, x, y);
            RECT r;
            GetClientRect(button, &r);
            const POINT at{x, y};
            if (PtInRect(&r, at))
                m_mouse_down_taken = still;
            else
                m_mouse_down_taken = false;
            *result = 0;
            return true;
        }
        break;
    case WM_SETFOCUS:
        if (m_kind == ButtonKind::Push && m_control && focus_pane() != this) {
            set_window_focus_pane(control_fields(m_control)->m_view, this);
            move_focus(this);
        }
        break;
    case WM_KILLFOCUS:
        if (focus_pane() == this)
            move_focus(nullptr);
        break;
    case WM_NCDESTROY:
        m_button = nullptr;
        if (m_window == button)
            ForgetWindow();
        return false;
    default: break;
    }
    return false;
}

ButtonPane* default_button_of(RuntimeObject* window) { return flagged_button(window, &PushButtonObject::isDefault); }

ButtonPane* cancel_button_of(RuntimeObject* window) { return flagged_button(window, &PushButtonObject::isCancel); }

void refresh_default_look(RuntimeObject* window)
{
    if (!window)
        return;
    auto* focused = dynamic_cast<ButtonPane*>(focus_pane());
    ButtonPane* look = focused && focused->kind() == ButtonKind::Push && focused->control() &&
            control_fields(focused->control())->m_view == window
        ? focused
        : default_button_of(window);
    for_each_push_button(window, [look](RuntimeObject*, ButtonPane* pane) { pane->SetDefaultLook(pane == look); });
}

}  // namespace qv::ui

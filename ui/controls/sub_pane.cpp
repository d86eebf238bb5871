// The native peer's common behaviour over its Win32 window.
#include "ui/controls/sub_pane.h"

#include "framework/application/event_firing.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/exceptions/callback_guard.h"
#include "ui/controls/control_object.h"
#include "ui/controls/help_tips.h"
#include "ui/controls/window_access.h"
#include "ui/controls/window_controls.h"

namespace qv::ui {
namespace {

constexpr const char* kSource = "SubPane";
constexpr wchar_t kInstanceProperty[] = L"QVInstance";

// The content window of the window this peer lives in: bounds are given relative to it.
HWND content_window_of(const SubPane* pane)
{
    const SubPane* top = pane->WindowPane();
    return top ? top->handle() : nullptr;
}

}  // namespace

SubPane::SubPane(RuntimeObject* control) : m_control(control) { }

SubPane::~SubPane()
{
    // The native procedure back before anything below can send the window a message.
    if (m_subclassed && IsWindow(m_subclassed)) {
        SetWindowLongPtrW(m_subclassed, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_native_procedure));
        RemovePropW(m_subclassed, kInstanceProperty);
    }
    // A peer going away must not keep the focus.
    if (focus_pane() == this)
        move_focus(nullptr);
    if (m_lock_count > 0)
        assertion_failed(kSource, 0, "mLockCount <= 0");
    if (m_window) {
        remove_help_tip(m_window);
        set_disabled_help_tip(m_window, nullptr);
        RemovePropW(m_window, kInstanceProperty);
        if (m_owns_window)
            DestroyWindow(m_window);
    }
}

void SubPane::Attach(HWND window, bool owns_window)
{
    m_window = window;
    m_owns_window = owns_window;
    if (window)
        SetPropW(window, kInstanceProperty, this);
    // A control made in the active window starts active; activation keeps the flag after that.
    if (m_control)
        m_active = window_is_active(control_fields(m_control)->m_view);
}

void SubPane::ForgetWindow()
{
    if (m_window)
        RemovePropW(m_window, kInstanceProperty);
    m_window = nullptr;
    m_owns_window = false;
}

SubPane* SubPane::FromHandle(HWND window)
{
    return window ? static_cast<SubPane*>(GetPropW(window, kInstanceProperty)) : nullptr;
}

void SubPane::Subclass(HWND window)
{
    SetPropW(window, kInstanceProperty, this);
    m_subclassed = window;
    m_native_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubPane::SubclassProcedure)));
}

LRESULT CALLBACK SubPane::SubclassProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return guard_callback("control procedure", LRESULT{0},
                          [&] { return SubclassedMessage(window, message, wparam, lparam); });
}

LRESULT SubPane::SubclassedMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    SubPane* pane = FromHandle(window);
    if (!pane) {
        const auto native = reinterpret_cast<WNDPROC>(GetClassLongPtrW(window, GCLP_WNDPROC));
        return CallWindowProcW(native, window, message, wparam, lparam);
    }
    if (message == WM_NCDESTROY) {
        // The window goes before the peer: there is nothing to give back later.
        RemovePropW(window, kInstanceProperty);
        pane->m_subclassed = nullptr;
    }
    // The window chooses the cursor first (the application's, the control's, its own): a native
    // control that sets its own (the edit field's I-beam) would not ask it.
    if (message == WM_SETCURSOR && LOWORD(lparam) == HTCLIENT) {
        SubPane* top = pane->WindowPane();
        if (top && top != pane && top->handle() && SendMessageW(top->handle(), WM_SETCURSOR, wparam, lparam))
            return TRUE;
    }
    // Taken now: the message may close the control and destroy the peer.
    const WNDPROC native = pane->m_native_procedure;
    LRESULT result = 0;
    run_guarded([&] {
        if (!pane->OwnMessage(message, wparam, lparam, &result))
            result = CallWindowProcW(native, window, message, wparam, lparam);
    });
    return result;
}

void SubPane::SetState(i32 state)
{
    if (!m_window)
        return;
    switch (state) {
    case kEnable: EnableWindow(m_window, TRUE); break;
    case kDisable: EnableWindow(m_window, FALSE); break;
    case kShow: ShowWindow(m_window, SW_SHOWNA); break;
    case kHide: ShowWindow(m_window, SW_HIDE); break;
    default: break;
    }
    UpdateDisabledHelp();
}

void SubPane::UpdateDisabledHelp()
{
    if (!m_window || m_disabled_help.empty())
        return;
    set_disabled_help_tip(m_window, IsWindowEnabled(m_window) ? nullptr : m_disabled_help.c_str());
}

void SubPane::SetBounds(const ControlBounds& bounds, bool redraw)
{
    if (!m_window)
        return;
    POINT corners[2] = {{bounds.left, bounds.top}, {bounds.right, bounds.bottom}};
    HWND content = content_window_of(this);
    HWND parent = GetAncestor(m_window, GA_PARENT);
    if (content && parent && parent != content)
        MapWindowPoints(content, parent, corners, 2);
    MoveWindow(m_window, corners[0].x, corners[0].y, corners[1].x - corners[0].x, corners[1].y - corners[0].y,
               redraw ? TRUE : FALSE);
    UpdateDisabledHelp();  // its rectangle moved with the window
}

void SubPane::Invalidate(bool erase)
{
    if (m_window)
        ::InvalidateRect(m_window, nullptr, erase ? TRUE : FALSE);
}

void SubPane::InvalidateRect(const RECT& window_rect, bool erase)
{
    if (!m_window)
        return;
    RECT local = window_rect;
    if (HWND content = content_window_of(this); content && content != m_window)
        MapWindowPoints(content, m_window, reinterpret_cast<POINT*>(&local), 2);
    ::InvalidateRect(m_window, &local, erase ? TRUE : FALSE);
}

void SubPane::UpdateNow()
{
    if (m_window)
        UpdateWindow(m_window);
}

bool SubPane::Contains(const SubPane* other, bool any_depth) const
{
    if (!other || other == this || !m_window || !other->m_window)
        return false;
    if (!any_depth)
        return GetAncestor(other->m_window, GA_PARENT) == m_window;
    return IsChild(m_window, other->m_window) != FALSE;
}

SubPane* SubPane::ParentPane() const
{
    // Only a child window has a parent peer; a top-level window's "parent" is its owner.
    if (!m_window || !(GetWindowLongW(m_window, GWL_STYLE) & WS_CHILD))
        return nullptr;
    return FromHandle(GetAncestor(m_window, GA_PARENT));
}

void SubPane::Reparent(SubPane* new_parent)
{
    if (!m_window || !new_parent || !new_parent->m_window)
        return;
    SetParent(m_window, new_parent->m_window);
    // Bounds are kept in window coordinates, so the position inside the new parent changes.
    if (m_control)
        SetBounds(control_fields(m_control)->bounds, true);
}

SubPane* SubPane::WindowPane() const
{
    const SubPane* pane = this;
    while (SubPane* parent = pane->ParentPane())
        pane = parent;
    return const_cast<SubPane*>(pane);
}

bool SubPane::CanTakeFocus() const { return false; }

void SubPane::GainFocus()
{
    if (m_window && GetFocus() != m_window)
        SetFocus(m_window);
}

void SubPane::LoseFocus() { }

void SubPane::SetHelpTag(const char* utf8)
{
    if (m_window)
        set_help_tip(m_window, utf8);
}

void SubPane::SetBalloonHelp(const char* utf8)
{
    // The tip shows the help tag; balloon help only stands in when there is none.
    if (m_window && m_control && !control_fields(m_control)->helpTag)
        set_help_tip(m_window, utf8);
}

void SubPane::SetDisabledBalloonHelp(const char* utf8)
{
    // Taken off first: an empty text leaves nothing for UpdateDisabledHelp to put back.
    if (m_window && !m_disabled_help.empty())
        set_disabled_help_tip(m_window, nullptr);
    m_disabled_help = utf8 ? utf8 : "";
    UpdateDisabledHelp();
}

void SubPane::DoPaint()
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_window, &paint);
    PaintInto(dc);
    EndPaint(m_window, &paint);
}

}  // namespace qv::ui

// SubPane: the native peer of a control (or the content peer of a window). It wraps one
// Win32 window, carries the window property "QVInstance" pointing back at itself, and turns
// the messages its window receives, or that its parent reflects to it, into calls on the
// control. Concrete controls derive from it and override what they need.
#pragma once

#include "platform/win32/windows_api.h"

#include <string>

#include "core/types.h"
#include "sdk/quaver.h"
#include "ui/control_locks.h"
#include "ui/drag_drop/drop_acceptance.h"

namespace qv::ui {

class SubPane {
public:
    // State codes of SetState.
    enum State : i32 { kEnable = 5, kDisable = 6, kShow = 7, kHide = 8 };

    // `control` is the Control this peer belongs to (no count), or nil for a window's
    // content peer. The window handle comes with Attach.
    explicit SubPane(RuntimeObject* control);
    SubPane(const SubPane&) = delete;
    SubPane& operator=(const SubPane&) = delete;
    // Detaches from the window handle and destroys a child window this peer created. A peer
    // being destroyed gives up the focus and the mouse tracking first.
    virtual ~SubPane();

    // Adopts `window` (created by this peer or, for a window's content peer, by the window
    // layer): stores "QVInstance" on it. A peer that created its window destroys it.
    void Attach(HWND window, bool owns_window);
    // The window was destroyed under the peer (with its parent): the peer lives on without one.
    void ForgetWindow();
    // The peer of a native window, from its "QVInstance" property, or null.
    static SubPane* FromHandle(HWND window);

    HWND handle() const { return m_window; }
    RuntimeObject* control() const { return m_control; }
    // Forgets the control (it is being destroyed first).
    void Unlink() { m_control = nullptr; }

    virtual void SetState(i32 state);
    // Window coordinates: the peer converts them for a parent peer that is itself a child.
    virtual void SetBounds(const ControlBounds& bounds, bool redraw);
    virtual void Invalidate(bool erase = true);
    virtual void InvalidateRect(const RECT& window_rect, bool erase = true);
    virtual void UpdateNow();

    // Whether `other` lies inside this peer: as a direct child, or at any depth.
    bool Contains(const SubPane* other, bool any_depth) const;
    // The peer of the parent window, or null.
    SubPane* ParentPane() const;
    virtual void Reparent(SubPane* new_parent);
    // The window's content peer at the top of the chain.
    SubPane* WindowPane() const;

    virtual bool CanTakeFocus() const;
    virtual void GainFocus();
    virtual void LoseFocus();
    // What focus navigation lets through to the peer itself.
    virtual bool AcceptsTab() const { return false; }
    virtual bool AcceptsReturn() const { return false; }
    virtual bool AcceptsArrows() const { return false; }
    virtual bool IsButton() const { return false; }
    // Pushes a button peer (default and cancel buttons, mnemonics).
    virtual void Push() { }

    virtual void SetHelpTag(const char* utf8);
    virtual void SetBalloonHelp(const char* utf8);
    virtual void SetDisabledBalloonHelp(const char* utf8);
    virtual void SetCursor(HCURSOR cursor) { m_cursor = cursor; }
    HCURSOR cursor() const { return m_cursor; }
    // What the control accepts when something is dropped on it (its window's drop target asks).
    DropAcceptance& drop_acceptance() { return m_drop_acceptance; }

    // The menu items the peer serves itself (an edit field's Edit items), while it has the
    // focus: enabling them, and carrying one out (true when it did).
    virtual void EnableMenuItems() { }
    virtual bool DoMenuCommand(RuntimeObject* /*item*/) { return false; }

    // Reflected messages from the peer's own child window.
    virtual void DoCommand(u32 /*notification*/) { }
    virtual void DoNotify(NMHDR* /*header*/) { }
    virtual void DoScroll(bool /*vertical*/, u32 /*code*/) { }
    virtual bool DoDrawItem(DRAWITEMSTRUCT* /*item*/) { return false; }

    // Mouse in window coordinates; true from a mouse-down takes the capture.
    virtual bool DoMouseDown(i32 /*x*/, i32 /*y*/, u32 /*modifiers*/) { return false; }
    virtual bool DoRightMouseDown(i32 x, i32 y, u32 modifiers) { return DoMouseDown(x, y, modifiers); }
    virtual void DoMouseMoved(i32 /*x*/, i32 /*y*/) { }
    virtual void DoMouseDrag(i32 /*x*/, i32 /*y*/) { }
    virtual void DoMouseUp(i32 /*x*/, i32 /*y*/) { }
    virtual void DoMouseEnter() { }
    virtual void DoMouseExit() { }
    // A wheel turn over the peer, `lines` down (negative: up); true when the peer scrolled.
    virtual bool DoMouseWheel(i32 /*x*/, i32 /*y*/, i32 /*lines*/) { return false; }
    // A key for the focused peer (KeyDown); true when consumed.
    virtual bool DoKeyDown(u32 /*key*/, u32 /*modifiers*/) { return false; }
    // WM_PAINT: the invalid part painted through PaintInto.
    virtual void DoPaint();
    // The event loop's turn for the peer holding the focus (caret and similar upkeep).
    virtual void DoIdle() { }
    // Draws the pane's own content into `dc` (a paint, or WM_PRINTCLIENT from a drawing of the
    // window into something else); native controls draw themselves.
    virtual void PaintInto(HDC /*dc*/) { }

    bool active() const { return m_active; }
    void set_active(bool on) { m_active = on; }
    bool auto_deactivate() const { return m_auto_deactivate; }
    void set_auto_deactivate(bool on) { m_auto_deactivate = on; }
    i32 lock_count() const { return m_lock_count; }

protected:
    // Routes the messages of `window` (the peer's own window, or the native control inside
    // it, which then carries "QVInstance" too) through OwnMessage, guarded; the window's own
    // procedure gets what OwnMessage leaves. Undone when the peer goes, unless the window went
    // first. Once per peer.
    void Subclass(HWND window);
    // Puts the disabled-control help on the peer's window while it is disabled, and takes it
    // away while it is enabled; after every change of enabling or place.
    void UpdateDisabledHelp();
    // A message of the subclassed window: true when answered with *result.
    virtual bool OwnMessage(UINT /*message*/, WPARAM /*wparam*/, LPARAM /*lparam*/, LRESULT* /*result*/)
    {
        return false;
    }

    RuntimeObject* m_control;
    HWND m_window = nullptr;
    bool m_owns_window = false;
    bool m_active = false;
    bool m_auto_deactivate = true;
    i32 m_lock_count = 0;
    HCURSOR m_cursor = nullptr;
    std::string m_disabled_help;  // UTF-8
    DropAcceptance m_drop_acceptance;

private:
    static LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT SubclassedMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

    HWND m_subclassed = nullptr;
    WNDPROC m_native_procedure = nullptr;
};

}  // namespace qv::ui

// NativeWindow: the runtime's object around one Win32 top-level window (or MDI child), stored
// in the window's first extra bytes so any runtime window handle leads back to it. It turns
// the top-level filter's messages into Do* operations; RuntimeViewWindow, the one used for
// Window objects, turns those into the Window's events (runtime_view_window.cpp).
//
// Lifetime: a NativeWindow is created with its Window and deleted when its Win32 window is
// destroyed (WM_NCDESTROY); Destroy() takes it off every list first, so a closed window no
// longer counts while its destruction message is still on its way.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/win32/windows_api.h"

#include "core/types.h"
#include "sdk/quaver.h"
#include "ui/control_locks.h"
#include "ui/windows/window_frames.h"

namespace qv::ui {

// Sent by a closing top-level window to itself; its filter then destroys it.
constexpr UINT kDestroyWindowMessage = 2146;

class NativeWindow {
public:
    struct Creation {
        const wchar_t* title = L"";
        RECT content{};  // screen coordinates (MDI: client coordinates)
        i32 native_frame = 0;
        bool close_box = false;
        bool grow_icon = false;
        bool zoom_icon = false;
    };

    NativeWindow() = default;
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;
    virtual ~NativeWindow();

    // Creates the Win32 window hidden and puts this object at the head of the window list (and
    // on the modal stack when its frame calls for it). False when Win32 refused.
    bool Create(const Creation& creation);
    // Takes the window off every list and destroys it (by the private message for a top-level
    // window, WM_MDIDESTROY for an MDI child). The object is deleted with its Win32 window.
    void Destroy();

    static NativeWindow* FromHandle(HWND window);

    HWND handle() const { return m_window; }
    // The window procedure's first message for a window being created.
    void Adopt(HWND window) { m_window = window; }
    bool creating() const { return m_creating; }
    i32 frame_type() const { return m_frame; }
    bool is_mdi_child() const { return m_mdi_child; }
    bool shown() const { return m_shown; }
    void set_shown(bool on) { m_shown = on; }
    bool closing() const { return m_closing; }
    bool grow_icon() const { return m_grow_icon; }

    // The content rectangle as Win32 has it now (screen coordinates; MDI client coordinates for
    // a child), and the one cached at the last geometry update.
    RECT NativeContentRect() const;
    const RECT& cached_content() const { return m_content; }
    void RefreshCachedContent() { m_content = NativeContentRect(); }
    // Moves the window so that its content has this rectangle.
    void MoveContentTo(const RECT& content);

    // Geometry changes asked for, applied by the loop (deferred_geometry.cpp).
    void RequestMove(bool notify) { m_pending_move = true, m_notify_move = notify; }
    void RequestResize(bool notify) { m_pending_resize = true, m_notify_resize = notify; }
    void ApplyPendingGeometry(const RECT& wanted);

    void SetBackColor(bool on, COLORREF colour);
    bool back_color(COLORREF* colour) const;

    void SetProperty(const char* name, i32 value);
    i32 Property(const char* name) const;

    // The operations the filter and the event loop call; the base class ignores them.
    virtual bool IsRuntimeViewWindow() const { return false; }
    virtual bool DoMouseDown(i32, i32, u32) { return false; }
    virtual bool DoRightMouseDown(i32 x, i32 y, u32 modifiers) { return DoMouseDown(x, y, modifiers); }
    virtual void DoMouseDrag(i32, i32) { }
    virtual void DoMouseMoved(i32, i32) { }
    virtual void DoMouseUp(i32, i32) { }
    virtual void DoMouseEnter() { }
    virtual void DoMouseExit() { }
    // A wheel turn over the client area (x, y), `lines` down (negative: up); true when taken.
    virtual bool DoMouseWheel(i32, i32, i32) { return false; }
    virtual bool DoKeyDown(u32, u32) { return false; }
    virtual void DoActivate() { }
    virtual void DoDeactivate() { }
    virtual void DoClose() { }
    // WM_PAINT: the invalid part painted through PaintInto.
    virtual void DoPaint();
    // Draws the window's own content into `dc` (a paint, or WM_PRINTCLIENT from Window.DrawInto).
    virtual void PaintInto(HDC /*dc*/) { }
    virtual void DoMoved() { }
    virtual void DoResizing() { }
    virtual void DoResized() { }
    virtual void DoCloseRequest() { DoClose(); }
    virtual SizeLimits Limits() const { return {}; }
    virtual bool LiveResize() const { return false; }
    virtual HCURSOR CursorAt(i32, i32) const { return nullptr; }
    // The cursor taken from the control the mouse last entered; null for none.
    virtual HCURSOR CursorOverride() const { return nullptr; }

    // The message filter every runtime window's messages go through (window_procedure.cpp);
    // true when it handled the message and `result` is the answer.
    bool Filter(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);

protected:
    HWND m_window = nullptr;
    i32 m_frame = 0;
    bool m_mdi_child = false;
    bool m_creating = false;  // Win32's own messages during creation are no geometry changes
    bool m_shown = true;
    bool m_closing = false;
    bool m_grow_icon = false;
    RECT m_content{};
    bool m_pending_move = false;
    bool m_notify_move = false;
    bool m_pending_resize = false;
    bool m_notify_resize = false;
    bool m_has_back_color = false;
    COLORREF m_back_color = 0;
    std::vector<std::pair<std::string, i32>> m_properties;

    // Move-or-size loop bookkeeping of the filter.
    bool m_in_size_move = false;
    bool m_resized_pending = false;
    bool m_maximize_or_restore = false;
};

// Every NativeWindow, newest first, and only the RuntimeViewWindows, newest first.
const std::vector<NativeWindow*>& native_windows();
std::vector<NativeWindow*>& runtime_windows();

// The modal stack of window handles, most recent first.
void push_modal(HWND window);
void remove_modal(HWND window);
// The first visible window of the stack, or null.
HWND first_visible_modal();

// Registers "QVWindow" (once) and returns its atom.
ATOM register_window_class();
// The child procedure's hook for MDI children: the filter, then DefMDIChildProc.
LRESULT mdi_child_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The frame's size for outer geometry: SM_C?FRAME with a thick frame, else SM_C?DLGFRAME.
SIZE frame_border(bool grow_icon);

}  // namespace qv::ui

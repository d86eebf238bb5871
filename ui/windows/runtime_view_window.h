// RuntimeViewWindow: the NativeWindow of a Window object. It holds one count on its Window
// while they are linked, and turns the native operations into the Window's events.
#pragma once

#include <vector>

#include "runtime/objects/object_ref.h"
#include "ui/controls/window_object.h"
#include "ui/drag_drop/drop_acceptance.h"
#include "ui/graphics_bridge.h"
#include "ui/windows/native_window.h"

namespace qv::ui {

class SubPane;
class WindowDropTarget;

class RuntimeViewWindow : public NativeWindow {
public:
    // Links to `window` both ways and takes a count on it; the content peer is attached to the
    // native window once it is created.
    explicit RuntimeViewWindow(RuntimeObject* window);
    ~RuntimeViewWindow() override;

    // Creates the native window (NativeWindow::Create), marks it as a runtime window and puts
    // it at the head of the runtime windows.
    bool CreateFor(const Creation& creation);

    RuntimeObject* window() const { return m_object; }
    SubPane* content_pane() const { return m_content_pane; }
    SubPane* focus_pane() const { return m_focus_pane; }
    void set_focus_pane(SubPane* pane) { m_focus_pane = pane; }
    void set_live_resize(bool on) { m_live_resize = on ? 1 : 0; }
    void set_cursor_override(HCURSOR cursor) { m_cursor_override = cursor; }
    HCURSOR cursor_override() const { return m_cursor_override; }
    // The menu taken off while MenuBarVisible is false, to be put back; null when none.
    HMENU& removed_menu() { return m_removed_menu; }
    void set_show_within(HWND parent, i32 value) { m_show_within = parent, m_show_within_value = value; }
    // What the window itself accepts when something is dropped on it, and its drop target
    // (window_drop_target.cpp), registered with the native window and revoked at closing.
    DropAcceptance& drop_acceptance() { return m_drop_acceptance; }
    WindowDropTarget* drop_target() const { return m_drop_target; }
    void ReleaseDropTarget();

    // The window's Graphics (one count added), made on first request; nil without the
    // graphics layer. ReleaseGraphics detaches it when the window goes away.
    RuntimeObject* Graphics();
    // Where the window's Graphics objects draw: its client area, with its background colour.
    GraphicsSurface Surface(HDC paint_dc);
    void ReleaseGraphics();

    // The closing steps of the window (window_closing.cpp); runs once.
    void DoClose() override;
    // Drops the link to the Window and the count on it without any event (the native window
    // went away under it).
    void Unlink();

    bool IsRuntimeViewWindow() const override { return true; }
    bool DoMouseDown(i32 x, i32 y, u32 modifiers) override;
    bool DoRightMouseDown(i32 x, i32 y, u32 modifiers) override;
    void DoMouseDrag(i32 x, i32 y) override;
    void DoMouseMoved(i32 x, i32 y) override;
    void DoMouseUp(i32 x, i32 y) override;
    void DoMouseEnter() override;
    void DoMouseExit() override;
    bool DoMouseWheel(i32 x, i32 y, i32 lines) override;
    bool DoKeyDown(u32 key, u32 modifiers) override;
    void DoActivate() override;
    void DoDeactivate() override;
    void PaintInto(HDC dc) override;
    void DoMoved() override;
    void DoResizing() override;
    void DoResized() override;
    void DoCloseRequest() override;
    SizeLimits Limits() const override;
    bool LiveResize() const override;
    // The cursor of the topmost control under the point, or the window's own when that control
    // has none or no control is there; null when neither has one.
    HCURSOR CursorAt(i32 x, i32 y) const override;
    HCURSOR CursorOverride() const override { return m_cursor_override; }

private:
    bool mouse_down(i32 x, i32 y, u32 modifiers, bool secondary);
    // Copies the native content rectangle into the Window's bounds.
    void take_native_bounds();
    bool is_marked(RuntimeObject* control) const;
    void unmark(RuntimeObject* control);

    RuntimeObject* m_object;
    SubPane* m_content_pane = nullptr;
    SubPane* m_focus_pane = nullptr;
    mutable i32 m_live_resize = -1;  // read from the system once, unless set
    HCURSOR m_cursor_override = nullptr;
    HMENU m_removed_menu = nullptr;
    HWND m_show_within = nullptr;
    i32 m_show_within_value = 0;
    std::vector<RuntimeObject*> m_mouse_inside;  // controls with the mouse-inside mark (no count)
    ObjectRef m_graphics;
    DropAcceptance m_drop_acceptance;
    WindowDropTarget* m_drop_target = nullptr;  // one count
};

// The RuntimeViewWindow of a Window, or null (nil window, none yet, or closed).
RuntimeViewWindow* view_of(RuntimeObject* window);

// The Window's RectControls (or every entry) in map order, each held for as long as the list
// lives; image code may change the map while the caller walks the copy.
std::vector<ObjectRef> window_controls(RuntimeObject* window, bool rect_controls_only);

// Lays the controls out for the Window's current bounds (the Lock rule).
void layout_controls(RuntimeObject* window);

// RECT from the Window's bounds and back.
RECT rect_of(const ControlBounds& bounds);
ControlBounds bounds_of(const RECT& rect);

}  // namespace qv::ui

// The Window's events from its native window: mouse, keys, activation, geometry, paint and the
// close request. Callers (the filter, the loop's tracking) guard each call.
#include "ui/windows/runtime_view_window.h"

#include <algorithm>
#include <utility>

#include "framework/application/event_firing.h"
#include "framework/application/mouse_cursor.h"
#include "framework/key_names.h"
#include "framework/menus/menu_dispatch.h"
#include "framework/startup/mdi_frame.h"
#include "runtime/strings/string_ref.h"
#include "runtime/text/utf.h"
#include "ui/control_registry.h"
#include "ui/controls/control_object.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_controls.h"
#include "ui/graphics_bridge.h"
#include "ui/windows/drag_source.h"
#include "ui/windows/mouse_tracking.h"
#include "ui/windows/window_drop_target.h"
#include "ui/windows/window_layer.h"

namespace qv::ui {
namespace {

i16 key_scan(u8 character) { return VkKeyScanA(static_cast<CHAR>(character)); }

// The one-character Key of KeyDown: the character as UTF-8. The code is a key's character or
// one UTF-16 unit of WM_IME_CHAR, so below 0x10000 (a lone surrogate keeps its three bytes).
StringRef key_text(u32 code)
{
    u8 bytes[4];
    const i32 n = encode_utf8_unchecked(code, bytes);
    StringRef text = StringRef::FromBytes(bytes, n);
    text.set_encoding(code < 0x80 ? QV_ENCODING_ASCII : QV_ENCODING_UTF8);
    return text;
}

// A drag run by a MouseDown handler swallowed the button's release: the capture the click took
// ends at once, with its MouseUp.
void end_capture_after_drag()
{
    if (take_finished_drag() && capture_active())
        end_capture_with_mouse_up();
}

}  // namespace

RuntimeViewWindow::RuntimeViewWindow(RuntimeObject* window) : m_object(ObjectRef::share(window).leak())
{
    window_fields(window)->nativeWindow = this;
}

RuntimeViewWindow::~RuntimeViewWindow()
{
    ReleaseGraphics();
    ReleaseDropTarget();
    forget_capture(this);
    forget_window_under_mouse(this);
    Unlink();
    delete m_content_pane;
}

bool RuntimeViewWindow::CreateFor(const Creation& creation)
{
    if (!Create(creation))
        return false;
    SetProperty("RuntimeViewWindow", 1);
    runtime_windows().insert(runtime_windows().begin(), this);
    m_content_pane = new SubPane(nullptr);
    m_content_pane->Attach(m_window, false);
    m_drop_target = register_drop_target(this);
    return true;
}

void RuntimeViewWindow::Unlink()
{
    const ObjectRef object = ObjectRef::adopt(std::exchange(m_object, nullptr));  // the link's count
    if (object.is_nil())
        return;
    if (window_fields(object.get())->nativeWindow == this)
        window_fields(object.get())->nativeWindow = nullptr;
}

bool RuntimeViewWindow::mouse_down(i32 x, i32 y, u32 modifiers, bool secondary)
{
    if (m_closing || !m_object)
        return true;
    (void)take_finished_drag();
    bool taken = false;
    {
        const std::vector<ObjectRef> controls = window_controls(m_object, true);
        // The topmost control first: the last in tab order.
        for (auto it = controls.rbegin(); it != controls.rend() && !taken; ++it) {
            RuntimeObject* control = it->get();
            if (!control_accepts_point(control, x, y))
                continue;
            if (control_mouse_down(control, x, y, modifiers, secondary)) {
                if (SubPane* pane = control_fields(control)->paneInstance)
                    capture_mouse(pane);
                taken = true;
            }
        }
    }
    if (taken) {
        end_capture_after_drag();
        return true;
    }
    RuntimeObject* object = m_object;
    const bool handled = fire_boolean_event(object, kWindowMouseDown, false, x, y);
    if (m_closing)
        return true;
    if (handled) {
        capture_mouse(this);
        end_capture_after_drag();
    }
    return handled;
}

bool RuntimeViewWindow::DoMouseDown(i32 x, i32 y, u32 modifiers) { return mouse_down(x, y, modifiers, false); }

bool RuntimeViewWindow::DoRightMouseDown(i32 x, i32 y, u32 modifiers) { return mouse_down(x, y, modifiers, true); }

void RuntimeViewWindow::DoMouseDrag(i32 x, i32 y)
{
    if (!m_closing)
        fire_event(m_object, kWindowMouseDrag, x, y);
}

void RuntimeViewWindow::DoMouseUp(i32 x, i32 y)
{
    if (!m_closing)
        fire_event(m_object, kWindowMouseUp, x, y);
}

bool RuntimeViewWindow::is_marked(RuntimeObject* control) const
{
    return std::find(m_mouse_inside.begin(), m_mouse_inside.end(), control) != m_mouse_inside.end();
}

void RuntimeViewWindow::unmark(RuntimeObject* control)
{
    m_mouse_inside.erase(std::remove(m_mouse_inside.begin(), m_mouse_inside.end(), control), m_mouse_inside.end());
}

void RuntimeViewWindow::DoMouseMoved(i32 x, i32 y)
{
    if (m_closing || !m_object)
        return;
    bool dragging = false;
    {
        const std::vector<ObjectRef> controls = window_controls(m_object, true);
        for (const ObjectRef& held : controls) {
            RuntimeObject* control = held.get();
            if (is_marked(control) && !control_accepts_point(control, x, y)) {
                m_cursor_override = nullptr;
                unmark(control);
                control_mouse_exit(control);
            }
        }
        dragging = capture_active();
        if (!dragging) {
            for (const ObjectRef& held : controls) {
                RuntimeObject* control = held.get();
                if (m_closing || !control_accepts_point(control, x, y))
                    continue;
                if (!is_marked(control)) {
                    SubPane* pane = control_fields(control)->paneInstance;
                    m_cursor_override = pane ? pane->cursor() : nullptr;
                    m_mouse_inside.push_back(control);
                    control_mouse_enter(control);
                }
                const ControlBounds& b = control_fields(control)->bounds;
                control_mouse_moved(control, x - b.left, y - b.top);
            }
        }
    }
    if (!dragging && !m_closing)
        fire_event(m_object, kWindowMouseMove, x, y);
}

void RuntimeViewWindow::DoMouseEnter()
{
    if (!m_closing)
        fire_event(m_object, kWindowMouseEnter);
}

void RuntimeViewWindow::DoMouseExit()
{
    std::vector<RuntimeObject*> marked;
    marked.swap(m_mouse_inside);
    for (RuntimeObject* control : marked) {
        const ObjectRef held = ObjectRef::share(control);
        control_mouse_exit(control);
    }
    m_cursor_override = nullptr;
    if (!capture_active() && !m_closing)
        fire_event(m_object, kWindowMouseExit);
}

// The wheel scrolls what is under the pointer: the topmost control there, if its peer scrolls.
bool RuntimeViewWindow::DoMouseWheel(i32 x, i32 y, i32 lines)
{
    if (m_closing || !m_object)
        return false;
    const std::vector<ObjectRef> controls = window_controls(m_object, true);
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        if (!control_accepts_point(it->get(), x, y))
            continue;
        SubPane* pane = control_fields(it->get())->paneInstance;
        return pane && pane->DoMouseWheel(x, y, lines);
    }
    return false;
}

bool RuntimeViewWindow::DoKeyDown(u32 key, u32 modifiers)
{
    if (m_closing || !m_object)
        return true;
    KeyTranslationState state;
    state.shift = (modifiers & kModifierShift) != 0;
    state.caps_lock = (GetKeyState(VK_CAPITAL) & 1) != 0;
    state.shift_held = state.shift;
    state.ctrl_held = (modifiers & kModifierCtrl) != 0;
    state.alt_held = (modifiers & kModifierAlt) != 0;
    const StringRef text = key_text(translate_key(key, state, &key_scan));
    RuntimeObject* object = m_object;
    const bool handled = fire_boolean_event(object, kWindowKeyDown, false, text.get());
    return handled || m_closing;
}

void RuntimeViewWindow::DoActivate()
{
    if (!m_object)
        return;
    // An MDI child's menu bar is shown on the frame while the child is active (unless the child
    // hides the menu bar, which the next step does).
    RuntimeObject* menu_bar = window_fields(m_object)->menuBar;
    if (m_mdi_child && menu_bar && mdi_frame() && window_fields(m_object)->menuBarVisible) {
        HMENU menu = static_cast<HMENU>(menu_native_handle(menu_bar));
        if (menu && GetMenu(mdi_frame()) != menu) {
            SetMenu(mdi_frame(), menu);
            DrawMenuBar(mdi_frame());
        }
    }
    apply_menu_bar_visibility(m_object, true);
    set_peers_active(m_object, true);
    // The focus goes back where it was, or to the first control that can take it, so that
    // typing reaches a control from the first moment.
    if (!m_closing && !is_floating_frame(m_frame))
        if (SubPane* target = focus_on_activation(m_object))
            move_focus(target);
    fire_event(m_object, kWindowActivate);
}

void RuntimeViewWindow::DoDeactivate()
{
    if (!m_object)
        return;
    set_peers_active(m_object, false);
    fire_event(m_object, kWindowDeactivate);
    if (!m_closing)
        clear_focus_within(m_window);
}

void RuntimeViewWindow::PaintInto(HDC dc)
{
    RuntimeObject* backdrop = m_object ? window_fields(m_object)->backdrop : nullptr;
    const bool paints = m_object && event_implemented(m_object, kWindowPaint);
    if (m_closing || (!backdrop && !paints))
        return;
    SetTextAlign(dc, TA_BASELINE);
    if (const ObjectRef graphics = ObjectRef::adopt(make_graphics(Surface(dc))); !graphics.is_nil()) {
        // The backdrop lies under whatever Paint draws; Paint may replace it, so it is held.
        const ObjectRef held = ObjectRef::share(backdrop);
        draw_picture(graphics.get(), held.get(), 0, 0);
        if (paints)
            fire_event(m_object, kWindowPaint, graphics.get());
        // The device context ends here: a Graphics object the handler kept draws nothing.
        detach_graphics(graphics.get());
    }
}

GraphicsSurface RuntimeViewWindow::Surface(HDC paint_dc)
{
    GraphicsSurface surface;
    surface.window = m_window;
    surface.paint_dc = paint_dc;
    COLORREF colour = 0;
    surface.has_background = back_color(&colour);
    surface.background = colour;
    return surface;
}

RuntimeObject* RuntimeViewWindow::Graphics()
{
    if (m_graphics.is_nil() && m_window)
        m_graphics = ObjectRef::adopt(make_graphics(Surface(nullptr)));
    return ObjectRef(m_graphics).leak();
}

void RuntimeViewWindow::ReleaseGraphics()
{
    const ObjectRef graphics = std::move(m_graphics);
    if (!graphics.is_nil())
        detach_graphics(graphics.get());
}

void RuntimeViewWindow::take_native_bounds()
{
    if (m_object)
        window_fields(m_object)->bounds = bounds_of(NativeContentRect());
}

void RuntimeViewWindow::DoMoved()
{
    if (!m_object)
        return;
    take_native_bounds();
    fire_event(m_object, kWindowMoved);
}

void RuntimeViewWindow::DoResizing()
{
    if (!m_object)
        return;
    if (LiveResize()) {
        take_native_bounds();
        layout_controls(m_object);
    }
    fire_event(m_object, kWindowResizing);
}

void RuntimeViewWindow::DoResized()
{
    if (!m_object)
        return;
    take_native_bounds();
    layout_controls(m_object);
    if (!m_closing)
        fire_event(m_object, kWindowResized);
}

void RuntimeViewWindow::DoCloseRequest()
{
    if (m_closing || !m_object)
        return;
    if (fire_boolean_event(m_object, kWindowCancelClose, false))
        return;
    DoClose();
}

SizeLimits RuntimeViewWindow::Limits() const
{
    if (!m_object)
        return {};
    const WindowObject* w = window_fields(m_object);
    return {w->minWidth, w->minHeight, w->maxWidth, w->maxHeight};
}

bool RuntimeViewWindow::LiveResize() const
{
    if (m_live_resize < 0) {
        BOOL full = FALSE;
        SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &full, 0);
        m_live_resize = full ? 1 : 0;
    }
    return m_live_resize != 0;
}

HCURSOR RuntimeViewWindow::CursorAt(i32 x, i32 y) const
{
    if (!m_object)
        return nullptr;
    const std::vector<ObjectRef> controls = window_controls(m_object, true);
    // The topmost control first: the last in tab order, as for a click.
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        if (!control_accepts_point(it->get(), x, y))
            continue;
        const SubPane* pane = control_fields(it->get())->paneInstance;
        if (pane && pane->cursor())
            return pane->cursor();
        break;  // a control without a cursor shows its window's
    }
    return mouse_cursor_handle(window_fields(m_object)->mouseCursor);
}

RuntimeViewWindow* view_of(RuntimeObject* window) { return window ? window_fields(window)->nativeWindow : nullptr; }

std::vector<ObjectRef> window_controls(RuntimeObject* window, bool rect_controls_only)
{
    std::vector<ObjectRef> out;
    ControlRegistry* registry = window ? window_fields(window)->controls : nullptr;
    if (!registry)
        return out;
    StringMap<RuntimeObject*>::Iterator it(registry->controls());
    RuntimeObject* control = nullptr;
    while (it.Next(nullptr, &control)) {
        if (rect_controls_only && !is_rect_control(control))
            continue;
        out.push_back(ObjectRef::share(control));
    }
    return out;
}

RECT rect_of(const ControlBounds& b) { return {b.left, b.top, b.right, b.bottom}; }

ControlBounds bounds_of(const RECT& r)
{
    return {static_cast<i16>(r.top), static_cast<i16>(r.left), static_cast<i16>(r.bottom), static_cast<i16>(r.right)};
}

}  // namespace qv::ui

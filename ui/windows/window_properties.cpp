// The Window's property routines. Most are stored values that take effect when the native
// window is created; the rest also update the native window when it exists.
#include "framework/application/application_object.h"
#include "framework/menus/menu_dispatch.h"
#include "framework/startup/mdi_frame.h"
#include "platform/colorref.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/objects/object_ref.h"
#include "runtime/strings/string_ref.h"
#include "ui/controls/help_tips.h"
#include "ui/windows/runtime_view_window.h"
#include "ui/windows/window_layer.h"

namespace qv::ui {
namespace {

constexpr const char* kSource = "window";

COLORREF native_colour(i32 rgb) { return platform::colorref_from_color(static_cast<u32>(rgb)); }

void set_task_bar_visible(bool visible)
{
    if (HWND task_bar = FindWindowW(L"Shell_TrayWnd", nullptr))
        ShowWindow(task_bar, visible ? SW_SHOWNOACTIVATE : SW_HIDE);
}

// Puts the native menu on a top-level window; the window grows by the menu bar's height the
// first time so that its content keeps its size.
void put_menu_on_window(RuntimeViewWindow* view, HMENU menu)
{
    const bool had_menu = GetMenu(view->handle()) != nullptr;
    SetMenu(view->handle(), menu);
    if (!had_menu) {
        RECT outer;
        GetWindowRect(view->handle(), &outer);
        SetWindowPos(view->handle(), nullptr, 0, 0, outer.right - outer.left,
                     outer.bottom - outer.top + GetSystemMetrics(SM_CYMENU),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The frame's menu while an MDI child that hides the menu bar is in front.
HMENU s_frame_removed_menu = nullptr;

// Puts `menu` (or none) on the window and resizes it so that its client area keeps its size:
// the menu bar's height goes to the frame, not out of the content.
void set_menu_keeping_client_size(HWND window, HMENU menu)
{
    RECT before;
    GetClientRect(window, &before);
    SetMenu(window, menu);
    RECT after;
    GetClientRect(window, &after);
    const LONG grow = (before.bottom - before.top) - (after.bottom - after.top);
    if (grow == 0)
        return;
    RECT outer;
    GetWindowRect(window, &outer);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top + grow,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Window fields whose accessors read and store the value and do nothing more.
int32_t stored_int(RuntimeObject* self, i32 WindowObject::*field) { return self ? window_fields(self)->*field : 0; }

void store_int(RuntimeObject* self, i32 WindowObject::*field, int32_t value)
{
    if (self)
        window_fields(self)->*field = value;
}

int32_t stored_flag(RuntimeObject* self, u8 WindowObject::*field) { return self && window_fields(self)->*field; }

void store_flag(RuntimeObject* self, u8 WindowObject::*field, int32_t on)
{
    if (self)
        window_fields(self)->*field = (on & 0xFF) != 0;
}

}  // namespace

void show_application_menu_bar(RuntimeObject* window)
{
    RuntimeViewWindow* view = view_of(window);
    if (!view || view->is_mdi_child() || !gApplicationObject)
        return;
    RuntimeObject* menu_bar = application_fields(gApplicationObject)->menuBar;
    if (HMENU menu = menu_bar ? static_cast<HMENU>(menu_native_handle(menu_bar)) : nullptr)
        put_menu_on_window(view, menu);
}

void apply_window_help_tip(RuntimeObject* window)
{
    if (RuntimeViewWindow* view = view_of(window)) {
        const StringRef utf8 = StringRef::share(window_fields(window)->balloonHelp).ToUTF8();
        set_help_tip(view->handle(), utf8.is_nil() ? nullptr : utf8.CText());
    }
}

void apply_menu_bar_visibility(RuntimeObject* window, bool known_in_front)
{
    RuntimeViewWindow* view = view_of(window);
    if (!view || (!known_in_front && front_window_object() != window))
        return;
    const bool visible = window_fields(window)->menuBarVisible != 0;
    set_task_bar_visible(visible);
    // An MDI child's menu is the frame's.
    HWND carrier = view->is_mdi_child() ? mdi_frame() : view->handle();
    HMENU& removed = view->is_mdi_child() ? s_frame_removed_menu : view->removed_menu();
    if (!carrier)
        return;
    if (!visible && GetMenu(carrier)) {
        removed = GetMenu(carrier);
        set_menu_keeping_client_size(carrier, nullptr);
    } else if (visible && removed) {
        if (!GetMenu(carrier))
            set_menu_keeping_client_size(carrier, removed);
        removed = nullptr;
    }
}

}  // namespace qv::ui

using namespace qv;
using namespace qv::ui;

extern "C" {

RuntimeString* windowTitleGetter(RuntimeObject* self, int32_t)
{
    if (!self)
        return nullptr;
    return StringRef::share(window_fields(self)->title).leak();
}

void windowTitleSetter(RuntimeObject* self, int32_t, RuntimeString* title)
{
    if (!self) {
        assertion_failed(kSource, 0, "view", "Trying to set the window's title, but there was no window");
        return;
    }
    WindowObject* w = window_fields(self);
    RuntimeLockUnlockStrings(title, w->title);
    w->title = title;
    if (RuntimeViewWindow* view = view_of(self)) {
        StringRef utf8 = StringRef::share(title).ToUTF8();
        SetWindowTextW(view->handle(), utf8.is_nil() ? L"" : platform::win32::widen(utf8.CText()).c_str());
    }
}

int32_t windowFrameGetter(RuntimeObject* self, int32_t) { return stored_int(self, &WindowObject::frame); }
void windowFrameSetter(RuntimeObject* self, int32_t, int32_t value) { store_int(self, &WindowObject::frame, value); }
int32_t windowPlacementGetter(RuntimeObject* self, int32_t) { return stored_int(self, &WindowObject::placement); }
void windowPlacementSetter(RuntimeObject* self, int32_t, int32_t value)
{
    store_int(self, &WindowObject::placement, value);
}
int32_t windowCloseBoxGetter(RuntimeObject* self, int32_t) { return stored_flag(self, &WindowObject::closeBox); }
void windowCloseBoxSetter(RuntimeObject* self, int32_t, int32_t on) { store_flag(self, &WindowObject::closeBox, on); }
int32_t windowGrowIconGetter(RuntimeObject* self, int32_t) { return stored_flag(self, &WindowObject::growIcon); }
void windowGrowIconSetter(RuntimeObject* self, int32_t, int32_t on) { store_flag(self, &WindowObject::growIcon, on); }
int32_t windowZoomIconGetter(RuntimeObject* self, int32_t) { return stored_flag(self, &WindowObject::zoomIcon); }
void windowZoomIconSetter(RuntimeObject* self, int32_t, int32_t on) { store_flag(self, &WindowObject::zoomIcon, on); }

int32_t windowFullScreenGetter(RuntimeObject* self, int32_t) { return self && window_fields(self)->fullScreen; }

void windowFullScreenSetter(RuntimeObject* self, int32_t, int32_t on)
{
    if (!self)
        return;
    const bool want = (on & 0xFF) != 0;
    WindowObject* w = window_fields(self);
    if (!view_of(self)) {
        w->fullScreenRequested = want;
        return;
    }
    if (want != (w->fullScreen != 0))
        switch_full_screen(self, want);
}

int32_t windowMenusVisibleGetter(RuntimeObject* self, int32_t) { return self && window_fields(self)->menuBarVisible; }

void windowMenusVisibleSetter(RuntimeObject* self, int32_t, int32_t on)
{
    if (!self)
        return;
    window_fields(self)->menuBarVisible = (on & 0xFF) != 0;
    apply_menu_bar_visibility(self, false);
}

int32_t windowLiveResizeGetter(RuntimeObject* self, int32_t)
{
    if (!self) {
        assertion_failed(kSource, 0, "window");
        return 0;
    }
    if (RuntimeViewWindow* view = view_of(self))
        return view->LiveResize();
    return window_fields(self)->liveResize;
}

void windowLiveResizeSetter(RuntimeObject* self, int32_t, int32_t on)
{
    if (!self) {
        assertion_failed(kSource, 0, "window");
        return;
    }
    if (RuntimeViewWindow* view = view_of(self))
        view->set_live_resize((on & 0xFF) != 0);
    else
        window_fields(self)->liveResize = (on & 0xFF) != 0;
}

RuntimeObject* windowBackdropGetter(RuntimeObject* self, int32_t)
{
    if (!self)
        return nullptr;
    return ObjectRef::share(window_fields(self)->backdrop).leak();
}

void windowBackdropSetter(RuntimeObject* self, int32_t, RuntimeObject* picture)
{
    if (!self)
        return;
    RuntimeLockUnlockObjects(picture, window_fields(self)->backdrop);
    window_fields(self)->backdrop = picture;
    if (RuntimeViewWindow* view = view_of(self))
        InvalidateRect(view->handle(), nullptr, TRUE);
}

RuntimeObject* windowGraphicsGetter(RuntimeObject* self, int32_t)
{
    RuntimeViewWindow* view = view_of(self);
    return view ? view->Graphics() : nullptr;
}

int32_t windowHasBackColorGetter(RuntimeObject* self, int32_t) { return self && window_fields(self)->hasBackColor; }

void windowHasBackColorSetter(RuntimeObject* self, int32_t, int32_t on)
{
    if (!self)
        return;
    WindowObject* w = window_fields(self);
    w->hasBackColor = (on & 0xFF) != 0;
    if (RuntimeViewWindow* view = view_of(self))
        view->SetBackColor(w->hasBackColor != 0, native_colour(w->backColor));
}

int32_t windowBackColorGetter(RuntimeObject* self, int32_t) { return self ? window_fields(self)->backColor : 0; }

void windowBackColorSetter(RuntimeObject* self, int32_t, int32_t colour)
{
    if (!self)
        return;
    WindowObject* w = window_fields(self);
    w->backColor = colour & 0xFFFFFF;
    RuntimeViewWindow* view = view_of(self);
    if (view && w->hasBackColor)
        view->SetBackColor(true, native_colour(w->backColor));
}

void windowBalloonHelpSetter(RuntimeObject* self, int32_t, RuntimeString* text)
{
    stringSetter(self, offsetof(WindowObject, balloonHelp), text);
    if (self)
        apply_window_help_tip(self);
}

void formMouseCursorSetter(RuntimeObject* self, int32_t, RuntimeObject* cursor)
{
    if (!self)
        return;
    RuntimeLockUnlockObjects(cursor, window_fields(self)->mouseCursor);
    window_fields(self)->mouseCursor = cursor;
}

int32_t windowMouseXGetter(RuntimeObject* self, int32_t)
{
    RuntimeViewWindow* view = view_of(self);
    if (!view)
        return 0;
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(view->handle(), &point);
    return point.x;
}

int32_t windowMouseYGetter(RuntimeObject* self, int32_t)
{
    RuntimeViewWindow* view = view_of(self);
    if (!view)
        return 0;
    POINT point;
    GetCursorPos(&point);
    ScreenToClient(view->handle(), &point);
    return point.y;
}

int32_t windowHWNDGetter(RuntimeObject* self, int32_t)
{
    RuntimeViewWindow* view = view_of(self);
    return view ? static_cast<int32_t>(reinterpret_cast<intptr_t>(view->handle())) : 0;
}

RuntimeObject* windowWindowPtrGetter(RuntimeObject*, int32_t) { return nullptr; }
RuntimeObject* WindowDockItemGetter(RuntimeObject*, int32_t) { return nullptr; }

RuntimeObject* WindowMenuBarGetter(RuntimeObject* self, int32_t)
{
    if (!self) {
        assertion_failed(kSource, 0, "window");
        return nullptr;
    }
    return ObjectRef::share(window_fields(self)->menuBar).leak();
}

void WindowMenuBarSetter(RuntimeObject* self, int32_t, RuntimeObject* menu_bar)
{
    if (!self) {
        assertion_failed(kSource, 0, "window");
        return;
    }
    if (!menu_bar) {
        assertion_failed(kSource, 0, "newMenuBar");
        return;
    }
    if (!gApplicationObject) {
        assertion_failed(kSource, 0, "gApplicationObject",
                         "You don't have an application object and we're expecting one");
        return;
    }
    WindowObject* w = window_fields(self);
    RuntimeLockUnlockObjects(menu_bar, w->menuBar);
    w->menuBar = menu_bar;
    RuntimeViewWindow* view = view_of(self);
    if (!view)
        return;
    HMENU menu = static_cast<HMENU>(menu_native_handle(menu_bar));
    if (view->is_mdi_child()) {
        SetMenu(mdi_frame(), menu);
        DrawMenuBar(mdi_frame());
        AppMenuBarSetter(gApplicationObject, menu_bar);
        return;
    }
    put_menu_on_window(view, menu);
}

}  // extern "C"

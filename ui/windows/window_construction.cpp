// Building a Window: the class constructor RuntimeCreateWindow (hidden events, placement, the
// native window, the controls and their panes), WindowDefaultConstructor (the Open events),
// and the objects a window owns (WindowAllocateObject, WindowAddControl, WindowAddMenuHandler).
#include <string>

#include "framework/application/application_object.h"
#include "framework/application/event_firing.h"
#include "framework/event_loop/event_loop.h"
#include "framework/menu_handler_registry.h"
#include "platform/colorref.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/strings/string_ref.h"
#include "ui/control_registry.h"
#include "ui/controls/control_object.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/wide_text.h"
#include "ui/controls/window_controls.h"
#include "ui/windows/runtime_view_window.h"
#include "ui/windows/window_layer.h"

namespace qv::ui {
namespace {

constexpr const char* kSource = "window";

PlacementArea placement_area()
{
    PlacementArea area;
    area.screen_width = GetSystemMetrics(SM_CXSCREEN);
    area.screen_height = GetSystemMetrics(SM_CYSCREEN);
    RECT work{};
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        area.available_left = work.left;
        area.available_top = work.top;
    }
    return area;
}

// An interface's first method, when the object implements an interface of that name.
void* interface_method(RuntimeObject* object, const char* interface_name)
{
    ClassRecord* interface_class = RuntimeLookupClass(StringRef::FromCString(interface_name).get());
    if (!object || !interface_class)
        return nullptr;
    MethodEntry* methods = RuntimeLookupInterfaceVtable(object, interface_class);
    return methods ? methods[0].routine : nullptr;
}

bool set_pane_child_window(RuntimeObject* object, RuntimeObject* window)
{
    void* set_window = interface_method(object, "_PaneChild");
    if (set_window)
        reinterpret_cast<void (*)(RuntimeObject*, RuntimeObject*)>(set_window)(object, window);
    return set_window != nullptr;
}

// The native window, the controls and their panes (construction steps 6.1 to 6.13).
void build_native_window(RuntimeObject* self)
{
    WindowObject* w = window_fields(self);
    const std::wstring title = wide_text(StringRef::share(w->title));
    NativeWindow::Creation creation;
    creation.title = title.c_str();
    creation.content = rect_of(w->bounds);
    creation.native_frame = native_frame_of(w->frame);
    creation.close_box = w->closeBox != 0;
    creation.grow_icon = w->growIcon != 0;
    creation.zoom_icon = w->zoomIcon != 0;
    auto* view = new RuntimeViewWindow(self);
    if (!view->CreateFor(creation)) {
        view->Unlink();
        delete view;
        return;
    }
    if (w->liveResize)
        view->set_live_resize(true);
    if (w->menuBar)
        WindowMenuBarSetter(self, 0, w->menuBar);
    else if (w->frame == 0)
        show_application_menu_bar(self);
    if (!w->visible) {
        ShowWindow(view->handle(), SW_HIDE);
        view->set_shown(false);
    }
    fire_event(self, kWindowCreateControls);
    if (!view_of(self))
        return;
    w->controlsCreated = 1;
    for (const ObjectRef& control : window_controls(self, true)) {
        if (view_of(self))
            create_control_pane(control.get());
    }
    if (!view_of(self))
        return;
    if (w->hasBackColor)
        view->SetBackColor(true, platform::colorref_from_color(static_cast<u32>(w->backColor)));
    if (w->balloonHelp)
        apply_window_help_tip(self);
    if (w->fullScreenRequested)
        switch_full_screen(self, true);
    fire_event(self, kWindowSetupBindings);
    if (RuntimeViewWindow* still = view_of(self); still && w->visible)
        InvalidateRect(still->handle(), nullptr, TRUE);
}

void fire_window_open(RuntimeObject* window) { fire_event(window, kWindowOpen); }

}  // namespace

void fire_open_guarded(void (*fire)(RuntimeObject*), RuntimeObject* object)
{
    if (gEventLoopRunning) {
        fire(object);
        return;
    }
    run_guarded([fire, object] { fire(object); });
}

}  // namespace qv::ui

using namespace qv;
using namespace qv::ui;

extern "C" {

void RuntimeCreateWindow(RuntimeObject* self)
{
    // Once per window, whatever the subclasses' initializers repeat.
    if (!self || window_fields(self)->controls)
        return;
    // The construction's own count: the window may close (and its native window let go of it)
    // inside any of the events below.
    const ObjectRef held = ObjectRef::share(self);
    WindowObject* w = window_fields(self);
    w->visible = 1;
    w->closeBox = 1;
    w->menuBarVisible = 1;
    file_implicit_window(self);
    fire_event(self, kWindowLayout);
    const i32 placement = w->placement ? w->placement : default_placement_of(w->frame);
    w->bounds = placed_bounds(w->bounds, placement, placement_area());
    w->layoutBounds = w->bounds;
    if (!w->controls)
        w->controls = new ControlRegistry();
    if (!w->mMenuHandlers)
        w->mMenuHandlers = new MenuHandlerRegistry();
    build_native_window(self);
}

void WindowDefaultConstructor(RuntimeObject* self)
{
    if (!self)
        return;
    const ObjectRef held = ObjectRef::share(self);
    for (const ObjectRef& control : window_controls(self, true))
        fire_open_guarded(&fire_control_open, control.get());
    fire_open_guarded(&fire_window_open, self);
    if (mdi_client()) {
        application_activation(true);
        if (RuntimeViewWindow* view = view_of(self); view && view->shown())
            SendMessageW(mdi_client(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(view->handle()), 0);
    }
}

RuntimeObject* WindowAllocateObject(RuntimeObject* window, ClassRecord* c)
{
    RuntimeObject* object = RuntimeNewObject(c);
    if (!object)
        return nullptr;
    if (is_rect_control(object))
        control_fields(object)->m_view = window;
    set_pane_child_window(object, window);
    if (void* install = interface_method(object, "_MenuBarInstaller"))
        reinterpret_cast<void (*)(RuntimeObject*, RuntimeObject*)>(install)(
            object, window ? window_fields(window)->menuBar : nullptr);
    return object;
}

void WindowAddControl(RuntimeObject* self, RuntimeObject* control)
{
    if (!self) {
        assertion_failed(kSource, 0, "self");
        return;
    }
    if (!control)
        return;
    if (!control->classRecord) {
        assertion_failed(kSource, 0, "obj->classPtr");
        return;
    }
    WindowObject* w = window_fields(self);
    if (!w->controls)
        w->controls = new ControlRegistry();
    i32 index = kNoArrayIndex;
    StringRef name;
    if (is_control(control)) {
        name = StringRef::share(control_fields(control)->name);
        index = control_fields(control)->index;
        if (is_rect_control(control)) {
            RuntimeViewWindow* view = view_of(self);
            control_fields(control)->windowRootPeer = view ? view->content_pane() : nullptr;
            control_fields(control)->m_view = self;
        }
    }
    w->controls->Add(control, name, index);
    if (!w->controlsCreated)
        return;
    // The window is being extended while it runs: the control gets its pane and opens now.
    if (!set_pane_child_window(control, self) && !is_control(control)) {
        assertion_failed(kSource, 0, "paneChild");
        return;
    }
    if (!is_rect_control(control))
        return;
    const ObjectRef held = ObjectRef::share(control);
    create_control_pane(control);
    fire_open_guarded(&fire_control_open, control);
    if (SubPane* pane = control_fields(control)->paneInstance; pane && control_fields(control)->visible)
        pane->SetState(SubPane::kShow);
}

void WindowAddMenuHandler(RuntimeObject* self, RuntimeString* name, RuntimeObject* handler)
{
    if (!self) {
        assertion_failed(kSource, 0, "self");
        return;
    }
    if (!name) {
        assertion_failed(kSource, 0, "name");
        return;
    }
    if (!handler)
        return;
    WindowObject* w = window_fields(self);
    if (!w->mMenuHandlers)
        w->mMenuHandlers = new MenuHandlerRegistry();
    w->mMenuHandlers->Add(StringRef::share(name), handler);
}

}  // extern "C"

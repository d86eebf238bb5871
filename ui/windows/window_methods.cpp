// Showing, hiding and the modal run; refresh and focus; the window's controls by position; drag
// items and the drops the window accepts.
// Methods on a window without a native window do nothing.
#include "framework/application/application_object.h"
#include "framework/event_loop/event_loop.h"
#include "runtime/objects/exception_foundation.h"
#include "ui/controls/control_object.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_controls.h"
#include "ui/drag_drop/drag_item.h"
#include "ui/windows/runtime_view_window.h"
#include "ui/windows/window_layer.h"

using namespace qv;
using namespace qv::ui;

extern "C" {

void RuntimeShowWindow(RuntimeObject* self)
{
    if (!self)
        return;
    WindowObject* w = window_fields(self);
    w->visible = 1;
    RuntimeViewWindow* view = view_of(self);
    if (!view || view->closing())
        return;
    view->set_shown(true);
    ShowWindow(view->handle(), IsZoomed(view->handle()) ? SW_SHOW : SW_SHOWNORMAL);
    BringWindowToTop(view->handle());
    if (w->fullScreen)
        switch_full_screen(self, true);
}

void RuntimeHideWindow(RuntimeObject* self)
{
    if (!self)
        return;
    window_fields(self)->visible = 0;
    RuntimeViewWindow* view = view_of(self);
    if (view && view->shown()) {
        ShowWindow(view->handle(), SW_HIDE);
        view->set_shown(false);
    }
}

int32_t WindowVisibleGetter(RuntimeObject* self, int32_t) { return self && window_fields(self)->visible; }

void WindowVisibleSetter(RuntimeObject* self, int32_t, int32_t on)
{
    if (!self)
        return;
    if ((on & 0xFF) == 0) {
        RuntimeHideWindow(self);
        return;
    }
    window_fields(self)->visible = 1;
    // Shown by the loop's next iteration.
    if (RuntimeViewWindow* view = view_of(self))
        view->set_shown(true);
}

void RuntimeShowWithinWindow(RuntimeObject* self, RuntimeObject* parent, int32_t value)
{
    if (RuntimeViewWindow* view = view_of(self)) {
        RuntimeViewWindow* parent_view = view_of(parent);
        view->set_show_within(parent_view ? parent_view->handle() : nullptr, value);
    }
    RuntimeShowWindow(self);
}

void RuntimeShowModal(RuntimeObject* self)
{
    RuntimeViewWindow* view = view_of(self);
    if (!view)
        return;
    RuntimeShowWindow(self);
    const ObjectRef held = ObjectRef::share(self);
    // Until the window closes or hides; a quit ends the outer loop's run as well.
    while (!gQuitRequested) {
        view = view_of(self);
        if (!view || !view->shown() || view->closing())
            break;
        run_guarded_loop_iteration();
    }
}

void RuntimeShowModalWithinWindow(RuntimeObject* self, RuntimeObject* parent)
{
    RuntimeShowWithinWindow(self, parent, -1);
    if (!view_of(self))
        return;
    // RuntimeShowModal shows it again, which changes nothing for a shown window.
    RuntimeShowModal(self);
}

void formRefresh(RuntimeObject* self)
{
    if (RuntimeViewWindow* view = view_of(self)) {
        RedrawWindow(view->handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        UpdateWindow(view->handle());
    }
}

void formRefreshRect(RuntimeObject* self, int32_t left, int32_t top, int32_t width, int32_t height)
{
    if (RuntimeViewWindow* view = view_of(self)) {
        const RECT r{left, top, left + width, top + height};
        InvalidateRect(view->handle(), &r, TRUE);
    }
}

void formSetFocus(RuntimeObject* self)
{
    RuntimeViewWindow* view = view_of(self);
    if (!view)
        return;
    move_focus(view->content_pane());
    SetFocus(nullptr);
}

void WindowForceUpdateFrontBuffer(RuntimeObject*) { }

int32_t windowControlCountGetter(RuntimeObject* self, int32_t)
{
    return static_cast<i32>(window_controls(self, true).size());
}

RuntimeObject* windowControl(RuntimeObject* self, int32_t index)
{
    std::vector<ObjectRef> controls = window_controls(self, true);
    if (index < 0 || static_cast<size_t>(index) >= controls.size())
        return nullptr;
    return controls[static_cast<size_t>(index)].leak();  // the list's count goes to the caller
}

// A window without a native window (not built yet, or closed) takes no drops.
RuntimeObject* formNewDragItem(RuntimeObject* self, int32_t left, int32_t top, int32_t width, int32_t height)
{
    if (!self) {
        RaiseNilObject();
        return nullptr;
    }
    return new_drag_item(left, top, width, height);
}

void formAcceptTextDrop(RuntimeObject* self)
{
    if (RuntimeViewWindow* view = view_of(self))
        view->drop_acceptance().text = true;
}

void formAcceptPictureDrop(RuntimeObject* self)
{
    if (RuntimeViewWindow* view = view_of(self))
        view->drop_acceptance().picture = true;
}

void formAcceptFileDrop(RuntimeObject* self, RuntimeString* fileType)
{
    if (RuntimeViewWindow* view = view_of(self))
        view->drop_acceptance().accept_file_type(type_name_of(fileType));
}

void formAcceptMacDataDrop(RuntimeObject* self, RuntimeString* dataType)
{
    if (RuntimeViewWindow* view = view_of(self))
        view->drop_acceptance().accept_mac_data(type_name_of(dataType));
}

}  // extern "C"

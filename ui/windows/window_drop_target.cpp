#include "ui/windows/window_drop_target.h"

#include <algorithm>
#include <utility>

#include "framework/application/event_firing.h"
#include "framework/window_services.h"
#include "platform/win32/failed_call.h"
#include "runtime/exceptions/callback_guard.h"
#include "ui/controls/control_object.h"
#include "ui/controls/sub_pane.h"
#include "ui/controls/window_access.h"
#include "ui/controls/window_controls.h"
#include "ui/drag_drop/drag_item.h"
#include "ui/drag_drop/drop_queue.h"
#include "ui/drag_drop/drop_receiver.h"
#include "ui/windows/drag_source.h"
#include "ui/windows/drop_data.h"
#include "ui/windows/runtime_view_window.h"

namespace qv::ui {
namespace {

// Copying is what a user expects from a drop that may move or copy (a file dragged from a
// file manager must stay where it is); a drag that offers only a move or a link gets that.
DWORD chosen_effect(DWORD allowed)
{
    for (DWORD effect : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK})
        if (allowed & effect)
            return effect;
    return DROPEFFECT_NONE;
}

// The window's controls and what it accepts, as the receiver rules see them, for one answer.
struct Receivers {
    std::vector<ObjectRef> controls;
    std::vector<DropCandidate> candidates;
    const DropAcceptance* window = nullptr;

    explicit Receivers(RuntimeViewWindow* view)
    {
        window = &view->drop_acceptance();
        controls = window_controls(view->window(), true);
        for (const ObjectRef& control : controls) {
            const ControlObject* c = control_fields(control.get());
            DropCandidate candidate;
            candidate.left = c->bounds.left, candidate.top = c->bounds.top;
            candidate.right = c->bounds.right, candidate.bottom = c->bounds.bottom;
            candidate.visible_and_enabled = c->visible && c->enabled;
            candidate.acceptance = c->paneInstance ? &c->paneInstance->drop_acceptance() : nullptr;
            candidates.push_back(candidate);
        }
    }

    // Every named data type the window or a control asks for.
    std::vector<std::string> mac_data_types() const
    {
        std::vector<std::string> types = window->mac_data_types;
        for (const DropCandidate& c : candidates)
            if (c.acceptance)
                types.insert(types.end(), c.acceptance->mac_data_types.begin(), c.acceptance->mac_data_types.end());
        return types;
    }
};

BOOL CALLBACK collect_window(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

bool usable(RuntimeViewWindow* view) { return view && view->window() && !view->closing(); }

POINT client_point(RuntimeViewWindow* view, POINTL screen)
{
    POINT p{screen.x, screen.y};
    ScreenToClient(view->handle(), &p);
    return p;
}

void deliver_queued_drops()
{
    drop_queue().deliver_all([](const PendingDrop& drop) {
        RuntimeObject* window = drop.window.get();
        RuntimeObject* item = drop.item.get();
        // A receiver that closed since the drop gets nothing.
        if (!usable(view_of(window)))
            return;
        if (RuntimeObject* control = drop.control.get()) {
            if (control_fields(control)->paneInstance)
                run_guarded([control, item] { fire_event(control, kRectControlDropObject, item); });
            return;
        }
        run_guarded([window, item] { fire_event(window, kWindowDropObject, item); });
    });
}

}  // namespace

WindowDropTarget::~WindowDropTarget() { forget_data(); }

HRESULT WindowDropTarget::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget)) {
        *out = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG WindowDropTarget::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }

ULONG WindowDropTarget::Release()
{
    const LONG left = InterlockedDecrement(&m_refs);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

void WindowDropTarget::forget_data()
{
    if (m_data)
        m_data->Release();
    m_data = nullptr;
    m_offer = {};
}

DWORD WindowDropTarget::answer(POINTL point, DWORD allowed)
{
    if (!usable(m_view) || !m_data)
        return DROPEFFECT_NONE;
    const Receivers receivers(m_view);
    const POINT at = client_point(m_view, point);
    const DropReceiver receiver = choose_drop_receiver(receivers.candidates, receivers.window, m_offer, at.x, at.y);
    return receiver.kind == DropReceiver::Nobody ? DROPEFFECT_NONE : chosen_effect(allowed);
}

HRESULT WindowDropTarget::DragEnter(IDataObject* data, DWORD, POINTL point, DWORD* effect)
{
    if (!effect)
        return E_INVALIDARG;
    return guard_callback("DragEnter", E_UNEXPECTED, [&] {
        forget_data();
        *effect = DROPEFFECT_NONE;
        if (!data || !usable(m_view))
            return S_OK;
        m_data = data;
        m_data->AddRef();
        m_offer = read_drag_offer(data, Receivers(m_view).mac_data_types());
        *effect = answer(point, *effect);
        return S_OK;
    });
}

HRESULT WindowDropTarget::DragOver(DWORD, POINTL point, DWORD* effect)
{
    if (!effect)
        return E_INVALIDARG;
    return guard_callback("DragOver", E_UNEXPECTED, [&] {
        *effect = answer(point, *effect);
        return S_OK;
    });
}

HRESULT WindowDropTarget::DragLeave()
{
    forget_data();
    return S_OK;
}

HRESULT WindowDropTarget::Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect)
{
    if (!effect)
        return E_INVALIDARG;
    return guard_callback("Drop", E_UNEXPECTED, [&] {
        forget_data();
        const DWORD allowed = *effect;
        *effect = DROPEFFECT_NONE;
        if (!data || !usable(m_view))
            return S_OK;
        const Receivers receivers(m_view);
        const DragOffer offer = read_drag_offer(data, receivers.mac_data_types());
        const POINT at = client_point(m_view, point);
        const DropReceiver receiver = choose_drop_receiver(receivers.candidates, receivers.window, offer, at.x, at.y);
        if (receiver.kind == DropReceiver::Nobody)
            return S_OK;
        const bool to_control = receiver.kind == DropReceiver::Control;
        const DropAcceptance& acceptance =
            to_control ? *receivers.candidates[receiver.control].acceptance : *receivers.window;
        ObjectRef item = ObjectRef::adopt(make_dropped_item(data, acceptance, offer, at.x, at.y));
        if (item.is_nil())
            return S_OK;
        drop_queue().push({ObjectRef::share(m_view->window()),
                           to_control ? receivers.controls[receiver.control] : ObjectRef(), std::move(item)});
        // The loop may be asleep in GetMessage: wake it for the delivery.
        PostMessageW(m_view->handle(), WM_NULL, 0, 0);
        *effect = chosen_effect(allowed);
        return S_OK;
    });
}

bool WindowDropTarget::RegisterFor(HWND window)
{
    const HRESULT result = RegisterDragDrop(window, this);
    if (FAILED(result)) {
        SetLastError(static_cast<DWORD>(result));
        platform::win32::note_failed_call("RegisterDragDrop");
        return false;
    }
    m_registered.push_back(window);
    return true;
}

void WindowDropTarget::RegisterForControl(HWND control_window)
{
    std::vector<HWND> windows{control_window};
    EnumChildWindows(control_window, &collect_window, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
        if (std::find(m_registered.begin(), m_registered.end(), window) != m_registered.end())
            continue;
        RevokeDragDrop(window);  // a native control's own target, if it has one
        RegisterFor(window);
    }
}

void WindowDropTarget::Revoke()
{
    for (HWND window : m_registered)
        if (IsWindow(window))
            RevokeDragDrop(window);
    m_registered.clear();
    forget_data();
    m_view = nullptr;
}

void RuntimeViewWindow::ReleaseDropTarget()
{
    if (WindowDropTarget* target = std::exchange(m_drop_target, nullptr)) {
        target->Revoke();
        target->Release();
    }
}

WindowDropTarget* register_drop_target(RuntimeViewWindow* view)
{
    // Kept when the system refuses (OLE not initialised): the window then simply gets no drops
    // from the system.
    auto* target = new WindowDropTarget(view);
    target->RegisterFor(view->handle());
    return target;
}

void window_control_accepts_drops(RuntimeObject* window, HWND control_window)
{
    RuntimeViewWindow* view = view_of(window);
    if (view && view->drop_target() && control_window)
        view->drop_target()->RegisterForControl(control_window);
}

void install_drag_and_drop()
{
    WindowServices services;
    services.deliver_drops = &deliver_queued_drops;
    window_services_seam().install(services);
    drag_starter_seam().install({&start_drag});
}

}  // namespace qv::ui

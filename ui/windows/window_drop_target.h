// The OLE drop target of a runtime window. The system calls it inside its drag loop, where
// image code must not run: it answers DragEnter and DragOver from what the window and its
// controls accept at the point (drop_receiver.h), and on Drop reads what was dropped into a
// DragItem and queues it; the event loop's next turn delivers it as DropObject.
//
// One target serves the window's native window and the native windows of its accepting
// controls (a rich edit control registers a target of its own, which would otherwise take
// the drops over it). It is registered when the window is built and revoked when it closes.
#pragma once

#include "platform/win32/windows_api.h"

#include <ole2.h>

#include <vector>

#include "ui/drag_drop/drop_acceptance.h"

namespace qv::ui {

class RuntimeViewWindow;

class WindowDropTarget final : public IDropTarget {
public:
    explicit WindowDropTarget(RuntimeViewWindow* view) : m_view(view) { }
    WindowDropTarget(const WindowDropTarget&) = delete;
    WindowDropTarget& operator=(const WindowDropTarget&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL point, DWORD* effect) override;

    // Registers the target for the window's native window; false when the system refused.
    bool RegisterFor(HWND window);
    // Also for a control's native window and the windows inside it, replacing their targets.
    void RegisterForControl(HWND control_window);
    // Revokes every registration and forgets the window; the system may still hold counts.
    void Revoke();

private:
    ~WindowDropTarget();
    // The effect to answer at a screen point for a drag that allows `allowed`.
    DWORD answer(POINTL point, DWORD allowed);
    void forget_data();

    LONG m_refs = 1;
    RuntimeViewWindow* m_view;
    std::vector<HWND> m_registered;
    IDataObject* m_data = nullptr;  // the drag in progress over the window (one count)
    DragOffer m_offer;
};

// A new target for the view's native window (the caller owns the one count), registered
// unless the system refused (noted on the debug channel).
WindowDropTarget* register_drop_target(RuntimeViewWindow* view);

// Installs the loop's delivery of the queued drops and the start of a DragItem's drag.
void install_drag_and_drop();

}  // namespace qv::ui

// Registering the window layer: its exported routines, the Window class, the "QVWindow" window
// class and the services the framework asks windows for.
#include "ui/windows/window_layer.h"

#include "framework/startup/windows_startup.h"
#include "ui/windows/native_window.h"

namespace qv::ui {
namespace {

#define QV_PROVIDED(name)                       \
    {                                           \
#name, reinterpret_cast < void*>(&name) \
    }

// clang-format off
const ProvidedRoutine kRoutines[] = {
    QV_PROVIDED(RuntimeCreateWindow), QV_PROVIDED(WindowDefaultConstructor), QV_PROVIDED(WindowAllocateObject),
    QV_PROVIDED(WindowAddControl), QV_PROVIDED(WindowAddMenuHandler), QV_PROVIDED(RuntimeGetImplicitWindow),
    QV_PROVIDED(RuntimeShowWindow), QV_PROVIDED(RuntimeShowWithinWindow), QV_PROVIDED(RuntimeShowModalWithinWindow),
    QV_PROVIDED(RuntimeHideWindow), QV_PROVIDED(RuntimeCloseWindow), QV_PROVIDED(RuntimeShowModal),
    QV_PROVIDED(formRefresh), QV_PROVIDED(formRefreshRect), QV_PROVIDED(formSetFocus),
    QV_PROVIDED(WindowForceUpdateFrontBuffer), QV_PROVIDED(formNewDragItem), QV_PROVIDED(formAcceptTextDrop),
    QV_PROVIDED(formAcceptPictureDrop), QV_PROVIDED(formAcceptFileDrop), QV_PROVIDED(formAcceptMacDataDrop),
    QV_PROVIDED(formDrawInto), QV_PROVIDED(windowControl), QV_PROVIDED(windowControlCountGetter),
    QV_PROVIDED(WindowVisibleGetter), QV_PROVIDED(WindowVisibleSetter), QV_PROVIDED(windowPosGetter),
    QV_PROVIDED(windowPosSetter), QV_PROVIDED(windowPlacementGetter), QV_PROVIDED(windowPlacementSetter),
    QV_PROVIDED(windowTitleGetter), QV_PROVIDED(windowTitleSetter), QV_PROVIDED(windowFullScreenGetter),
    QV_PROVIDED(windowFullScreenSetter), QV_PROVIDED(windowMenusVisibleGetter), QV_PROVIDED(windowMenusVisibleSetter),
    QV_PROVIDED(windowCloseBoxGetter), QV_PROVIDED(windowCloseBoxSetter), QV_PROVIDED(windowGrowIconGetter),
    QV_PROVIDED(windowGrowIconSetter), QV_PROVIDED(windowZoomIconGetter), QV_PROVIDED(windowZoomIconSetter),
    QV_PROVIDED(windowFrameGetter), QV_PROVIDED(windowFrameSetter), QV_PROVIDED(windowLiveResizeGetter),
    QV_PROVIDED(windowLiveResizeSetter), QV_PROVIDED(windowBackdropGetter), QV_PROVIDED(windowBackdropSetter),
    QV_PROVIDED(windowGraphicsGetter), QV_PROVIDED(windowHasBackColorGetter), QV_PROVIDED(windowHasBackColorSetter),
    QV_PROVIDED(windowBackColorGetter), QV_PROVIDED(windowBackColorSetter), QV_PROVIDED(windowBalloonHelpSetter),
    QV_PROVIDED(formMouseCursorSetter), QV_PROVIDED(windowMouseXGetter), QV_PROVIDED(windowMouseYGetter),
    QV_PROVIDED(windowWindowPtrGetter), QV_PROVIDED(windowHWNDGetter), QV_PROVIDED(WindowDockItemGetter),
    QV_PROVIDED(WindowMenuBarGetter), QV_PROVIDED(WindowMenuBarSetter),
};
// clang-format on

}  // namespace

std::span<const ProvidedRoutine> window_routines() { return kRoutines; }

void register_window_layer()
{
    static bool s_done = false;
    if (s_done)
        return;
    s_done = true;
    add_provided_routines(window_routines());
    add_class_registrar(&register_window_class_definition);
    register_window_class();
    install_window_layer_services();
}

}  // namespace qv::ui

#include "ui/controls/control_layer.h"

#include "framework/startup/windows_startup.h"
#include "ui/controls/control_classes.h"
#include "ui/controls/pane_windows.h"

namespace qv::ui {
namespace {

void register_classes()
{
    register_control_classes();
    register_pane_classes();
}

}  // namespace

std::span<const ProvidedRoutine> control_routines()
{
#define QV_PROVIDED(name) \
    ProvidedRoutine { #name, reinterpret_cast < void*>(&name) }
    static const ProvidedRoutine kRoutines[] = {
        QV_PROVIDED(RuntimeControlFetch),
        QV_PROVIDED(RuntimeControlReference),
        QV_PROVIDED(RuntimeControlArrayItemReference),
        QV_PROVIDED(RectControlDefaultConstructor),
        QV_PROVIDED(ControlClose),
        QV_PROVIDED(ControlAddMenuHandler),
        QV_PROVIDED(ControlTabPanelIndexSetter),
        QV_PROVIDED(controlMouseXGetter),
        QV_PROVIDED(controlMouseYGetter),
        QV_PROVIDED(controlWindowGetter),
        QV_PROVIDED(controlMacControlHandleGetter),
        QV_PROVIDED(controlActiveGetter),
        QV_PROVIDED(controlHelpTagSetter),
        QV_PROVIDED(controlBalloonHelpSetter),
        QV_PROVIDED(controlDisabledBalloonHelpSetter),
        QV_PROVIDED(controlMouseCursorSetter),
        QV_PROVIDED(controlAutoDeactivateGetter),
        QV_PROVIDED(controlAutoDeactivateSetter),
        QV_PROVIDED(controlLockLeftGetter),
        QV_PROVIDED(controlLockLeftSetter),
        QV_PROVIDED(controlLockTopGetter),
        QV_PROVIDED(controlLockTopSetter),
        QV_PROVIDED(controlLockRightGetter),
        QV_PROVIDED(controlLockRightSetter),
        QV_PROVIDED(controlLockBottomGetter),
        QV_PROVIDED(controlLockBottomSetter),
        QV_PROVIDED(controlVisibleGetter),
        QV_PROVIDED(ControlVisibleSetter),
        QV_PROVIDED(controlEnabledGetter),
        QV_PROVIDED(controlEnabledSetter),
        QV_PROVIDED(ctlPosGetter),
        QV_PROVIDED(ctlPosSetter),
        QV_PROVIDED(ControlParentGetter),
        QV_PROVIDED(ControlParentSetter),
        QV_PROVIDED(ControlInitialParentSetter),
        QV_PROVIDED(RuntimeControlRefresh),
        QV_PROVIDED(RuntimeControlRefreshRect),
        QV_PROVIDED(RuntimeSetFocus),
        QV_PROVIDED(controlAcceptTextDrop),
        QV_PROVIDED(controlAcceptPictureDrop),
        QV_PROVIDED(controlAcceptFileDrop),
        QV_PROVIDED(controlAcceptMacDataDrop),
        QV_PROVIDED(controlNewDragItem),
        QV_PROVIDED(intInvalidateSetter),
        QV_PROVIDED(boolInvalidateSetter),
        QV_PROVIDED(paneStringGetter),
        QV_PROVIDED(paneStringSetter),
        QV_PROVIDED(paneBoolGetter),
        QV_PROVIDED(paneBoolSetter),
        QV_PROVIDED(paneIntGetter),
        QV_PROVIDED(paneIntSetter),
        QV_PROVIDED(paneObjGetter),
        QV_PROVIDED(paneObjSetter),
        QV_PROVIDED(paneShortGetter),
        QV_PROVIDED(paneShortSetter),
    };
#undef QV_PROVIDED
    return kRoutines;
}

void register_control_layer()
{
    static const bool s_registered = [] {
        add_provided_routines(control_routines());
        add_class_registration(&register_classes);
        return true;
    }();
    (void)s_registered;
}

}  // namespace qv::ui

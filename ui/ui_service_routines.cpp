#include "ui/ui_service_routines.h"

#include "ui/binding/binders.h"
#include "ui/binding/builtin_interfaces.h"
#include "ui/binding/control_binding.h"
#include "ui/clipboard/clipboard_class.h"

namespace qv::ui {

#define QV_PROVIDED(name)                       \
    {                                           \
#name, reinterpret_cast < void*>(&name) \
    }

std::span<const ProvidedRoutine> ui_service_routines()
{
    // clang-format off
    static const ProvidedRoutine kRoutines[] = {
        QV_PROVIDED(clipboardTextGetter), QV_PROVIDED(clipboardTextSetter), QV_PROVIDED(clipboardSetText),
        QV_PROVIDED(clipboardClose), QV_PROVIDED(clipboardTextAvailable), QV_PROVIDED(clipboardPictureAvailable),
        QV_PROVIDED(clipboardPictureGetter), QV_PROVIDED(clipboardPictureSetter),
        QV_PROVIDED(clipboardMacDataAvailable), QV_PROVIDED(clipboardMacData), QV_PROVIDED(clipboardAddMacData),
        QV_PROVIDED(pbAddActionNotificationReceiver), QV_PROVIDED(pbRemoveActionNotificationReceiver),
        QV_PROVIDED(checkBoxGetBoolean), QV_PROVIDED(checkBoxSetBoolean),
        QV_PROVIDED(checkBoxAddDataNotificationReceiver), QV_PROVIDED(checkBoxRemoveDataNotificationReceiver),
        QV_PROVIDED(checkBoxGetBoundPart), QV_PROVIDED(radioGetBoundPart),
        QV_PROVIDED(cbaAddActionNotificationReceiver), QV_PROVIDED(cbaRemoveActionNotificationReceiver),
        QV_PROVIDED(rbaAddActionNotificationReceiver), QV_PROVIDED(rbaRemoveActionNotificationReceiver),
        QV_PROVIDED(editSetString),
        QV_PROVIDED(enablingBinderBind), QV_PROVIDED(enablingBinderReload), QV_PROVIDED(actionBinderBind),
        QV_PROVIDED(stringBinderBind), QV_PROVIDED(stringBinderReload), QV_PROVIDED(listBinderBind),
    };
    // clang-format on
    return kRoutines;
}

void register_ui_service_classes()
{
    register_clipboard_class();
    register_builtin_interfaces();
    register_bound_part_classes();
    register_binder_classes();
}

}  // namespace qv::ui

#include "ui/ui_service_routines.h"

#include "runtime/definitions/class_tables.h"
#include "ui/binding/binders.h"
#include "ui/binding/builtin_interfaces.h"
#include "ui/binding/control_binding.h"
#include "ui/clipboard/clipboard_class.h"
#include "ui/drag_drop/drag_item.h"

namespace qv::ui {

std::span<const ProvidedRoutine> ui_service_routines()
{
    // The notification routines of the controls: only the Win32 controls' tables name them, and
    // the portable build has none.
    static const ProvidedRoutine kRoutines[] = {
        QV_PROVIDED(pbAddActionNotificationReceiver),
        QV_PROVIDED(pbRemoveActionNotificationReceiver),
        QV_PROVIDED(checkBoxGetBoolean),
        QV_PROVIDED(checkBoxSetBoolean),
        QV_PROVIDED(checkBoxAddDataNotificationReceiver),
        QV_PROVIDED(checkBoxRemoveDataNotificationReceiver),
        QV_PROVIDED(checkBoxGetBoundPart),
        QV_PROVIDED(radioGetBoundPart),
        QV_PROVIDED(editSetString),
    };
    return kRoutines;
}

std::vector<ProvidedRoutine> ui_service_table_routines()
{
    return table_routines(
        {clipboard_class_tables(), bound_part_class_tables(), binder_class_tables(), drag_item_class_tables()});
}

void register_ui_service_classes()
{
    register_clipboard_class();
    register_builtin_interfaces();
    register_bound_part_classes();
    register_binder_classes();
    register_drag_item_class();
}

}  // namespace qv::ui

// RuntimeMassPropertySetter: compiled code initialises a control or a window by handing it a
// table of property values in a string constant.
#include "runtime/definitions/class_tables.h"
#include "runtime/strings/runtime_string.h"
#include "ui/object_property_target.h"
#include "ui/ui_routines.h"
#include "ui/ui_service_routines.h"

extern "C" void RuntimeMassPropertySetter(RuntimeObject* target, RuntimeString* table)
{
    if (!target || !table)
        return;
    qv::ui::ObjectPropertyTarget object(target);
    const i32 length = qv::string_length(table);
    qv::ui::apply_mass_property_table(
        std::span<const u8>(qv::string_bytes(table), length > 0 ? static_cast<size_t>(length) : 0), object);
}

namespace qv::ui {

std::span<const ProvidedRoutine> ui_routines()
{
    static const ProvidedRoutine kRoutines[] = {
        QV_PROVIDED(RuntimeMassPropertySetter),
    };
    return kRoutines;
}

void register_ui_routines()
{
    add_provided_routines(ui_routines());
    add_provided_routines(ui_service_routines());
    add_table_routines(ui_service_table_routines());
}

}  // namespace qv::ui

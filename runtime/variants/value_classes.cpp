// Registering the value classes' definitions, which also enters their routines into the
// export registry under their names.
#include "runtime/variants/value_classes.h"

#include "core/once.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/variants/date_value.h"
#include "runtime/variants/dictionary.h"
#include "runtime/variants/variant_object.h"

namespace qv {

void register_value_classes()
{
    static Once s_once;
    s_once([&] {
        RegisterDefinition(date_definition());
        RegisterDefinition(variant_definition());
        RegisterDefinition(dictionary_definition());
    });
}

}  // namespace qv

// Registering the value classes' definitions, which also enters their routines into the
// export registry under their names.
#include "runtime/variants/value_classes.h"

#include "runtime/definitions/class_registry.h"
#include "runtime/variants/date_value.h"
#include "runtime/variants/dictionary.h"
#include "runtime/variants/variant_object.h"

namespace qv {

void register_value_classes()
{
    static const bool s_done = [] {
        RegisterDefinition(date_definition());
        RegisterDefinition(variant_definition());
        RegisterDefinition(dictionary_definition());
        return true;
    }();
    (void)s_done;
}

}  // namespace qv

#include "runtime/startup/runtime_startup.h"

#include "runtime/definitions/encoding_function_records.h"
#include "runtime/definitions/string_function_records.h"
#include "runtime/encodings/text_encoding_objects.h"
#include "runtime/exceptions/exception_classes.h"
#include "runtime/registry/entry_point_registry.h"
#include "runtime/variants/value_classes.h"

namespace qv {

void start_portable_runtime()
{
    register_foundation_classes();
    register_encoding_classes();
    register_encoding_functions();
    register_value_classes();
    register_string_functions();
    (void)entry_point_registry();
}

}  // namespace qv

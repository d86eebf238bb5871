#include "runtime/startup/runtime_startup.h"

#include "runtime/exceptions/exception_classes.h"
#include "runtime/registry/entry_point_registry.h"

namespace qv {

void start_portable_runtime()
{
    register_foundation_classes();
    (void)entry_point_registry();
}

}  // namespace qv

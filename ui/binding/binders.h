// The built-in binder classes, which connect a source to a target through the built-in
// interfaces: enablingBinder (the source's Boolean enables the target), stringBinder (the
// source's string fills the target), actionBinder (the target receives the source's actions)
// and listBinder (the list is bound to the source).
#pragma once

#include <cstddef>

#include "core/types.h"
#include "runtime/definitions/class_tables.h"
#include "sdk/quaver.h"

namespace qv::ui {

struct BinderObject {
    RuntimeObject header;
    RuntimeObject* source;  // counted; the enabling and string binders keep them until bound again
    RuntimeObject* target;
};
static_assert(offsetof(BinderObject, source) == 28);

// Registers the four classes; safe to call more than once.
void register_binder_classes();
// The classes' tables, which name their exported routines.
ClassTableList binder_class_tables();

}  // namespace qv::ui

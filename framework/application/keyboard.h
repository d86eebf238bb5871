// The built-in _Keyboard class (getKeyboardObject and its accessors in sdk/quaver.h).
#pragma once

#include "runtime/definitions/class_tables.h"
#include "runtime/definitions/object_definition.h"

namespace qv {

ObjectDefinition* keyboard_definition();
// The class's tables, which name its exported routines.
ClassTableList keyboard_class_tables();

}  // namespace qv

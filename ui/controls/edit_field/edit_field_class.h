// The built-in EditField class.
#pragma once

#include "runtime/definitions/class_tables.h"
#include "sdk/quaver.h"

namespace qv::ui {

ClassRecord* edit_field_class();
void register_edit_field_class();
// EditField's tables, which name its exported routines.
ClassTableList edit_field_class_tables();

}  // namespace qv::ui

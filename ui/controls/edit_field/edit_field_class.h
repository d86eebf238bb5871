// The built-in EditField class.
#pragma once

#include <span>

#include "runtime/registry/provided_routines.h"
#include "sdk/quaver.h"

namespace qv::ui {

ClassRecord* edit_field_class();
void register_edit_field_class();
// EditField's exported routines.
std::span<const ProvidedRoutine> edit_field_routines();

}  // namespace qv::ui

// The built-in Screen class and the process's cached list of screens (getScreenCount and
// getScreen in sdk/quaver.h).
#pragma once

#include "runtime/definitions/class_tables.h"
#include "runtime/definitions/object_definition.h"

namespace qv {

ObjectDefinition* screen_definition();
// The class's tables, which name its exported routines.
ClassTableList screen_class_tables();

// Releases the cached Screens; the next getScreen enumerates the monitors again. The event
// loop calls it when the display settings change.
void clear_screen_cache();

}  // namespace qv

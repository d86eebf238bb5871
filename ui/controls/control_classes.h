// The built-in Control, RectControl and Canvas classes,
#pragma once

#include "runtime/definitions/class_tables.h"
#include "sdk/quaver.h"

namespace qv::ui {

ClassRecord* control_class();
ClassRecord* rect_control_class();
ClassRecord* canvas_class();
// RectControl's definition, for the concrete controls' definitions.
struct ObjectDefinition* rect_control_definition();

// Enters the classes in the class registry; once per process.
void register_control_classes();
// The classes' tables, which name their exported routines.
ClassTableList control_class_tables();

}  // namespace qv::ui

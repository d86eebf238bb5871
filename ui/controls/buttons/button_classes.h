// The built-in PushButton, CheckBox, RadioButton, StaticText and GroupBox classes, and the
// hooks through which notifications and binders reach them.
#pragma once

#include "runtime/definitions/class_tables.h"
#include "sdk/quaver.h"

namespace qv::ui {

ClassRecord* push_button_class();
ClassRecord* check_box_class();
ClassRecord* radio_button_class();
ClassRecord* static_text_class();
ClassRecord* group_box_class();

// Registers the classes and installs the binding hooks; once per process.
void register_button_classes();
// The classes' tables, which name their exported routines.
ClassTableList button_class_tables();

}  // namespace qv::ui

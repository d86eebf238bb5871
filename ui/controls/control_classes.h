// The built-in Control, RectControl and Canvas classes,
#pragma once

#include "sdk/quaver.h"

namespace qv::ui {

ClassRecord* control_class();
ClassRecord* rect_control_class();
ClassRecord* canvas_class();

// Enters the classes in the class registry; once per process.
void register_control_classes();

}  // namespace qv::ui

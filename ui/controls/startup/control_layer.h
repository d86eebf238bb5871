// Start-up of the control layer: its exported routines, its classes and its window classes.
// A folder of its own above controls/, buttons/ and edit_field/, as it registers all three.
#pragma once

#include <span>
#include <vector>

#include "runtime/registry/provided_routines.h"

namespace qv::ui {

// The control layer's exported routines that no class table names (the classes' tables give
// the registry theirs).
std::span<const ProvidedRoutine> control_routines();
std::vector<ProvidedRoutine> control_table_routines();
// Adds the routines and arranges for the classes to be registered by the framework's start-up;
// call before it (runtime.exe's WinMain, test set-up).
void register_control_layer();

}  // namespace qv::ui

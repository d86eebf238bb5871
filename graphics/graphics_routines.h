// The graphics layer's exported routines and built-in classes, which a program adds at
// start-up the way it adds the debugger's and the control layer's routines.
#pragma once

#include <span>
#include <vector>

#include "runtime/registry/provided_routines.h"

namespace qv::graphics {

// The routines of the graphics layer that the Graphics and Picture tables do not name, and
// those the tables name.
std::span<const ProvidedRoutine> graphics_routines();
std::vector<ProvidedRoutine> graphics_table_routines();

// Adds the routines to the registry's and has start_framework_runtime register Graphics and
// Picture; call before the start-up, as WinMain does.
void register_graphics();

}  // namespace qv::graphics

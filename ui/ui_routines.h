// The exported routines of the portable control layer, which need nothing of Win32: a program
// that runs images adds them to the registry at start-up.
#pragma once

#include <span>

#include "runtime/registry/provided_routines.h"
#include "sdk/quaver.h"

namespace qv::ui {

// RuntimeMassPropertySetter under its export name.
std::span<const ProvidedRoutine> ui_routines();

// Adds them and ui_service_routines() to the registry's routines; call before anything uses
// the registry.
void register_ui_routines();

}  // namespace qv::ui

// The small services reached through the application: screens, the keyboard, the version
// properties, FolderItem and MouseCursor. Start-up registers their classes and adds their routines.
#pragma once

#include <span>

#include "runtime/registry/provided_routines.h"

namespace qv {

// Enters Screen, _Keyboard, FolderItem and MouseCursor into the class registry.
void register_application_service_classes();

// The services' exported routines that the classes' tables do not name, for
// add_provided_routines.
std::span<const ProvidedRoutine> application_service_routines();

}  // namespace qv

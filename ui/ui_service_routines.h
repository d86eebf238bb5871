// The clipboard's, the notifications', the binders' and the drag items' exported routines and
// classes, which need no Win32 of their own (the clipboard reaches the system through
// SystemClipboard, a drag through the window layer's starter).
#pragma once

#include <span>
#include <vector>

#include "runtime/registry/provided_routines.h"
#include "sdk/quaver.h"

namespace qv::ui {

// The services' exported routines that their classes' tables do not name, and those the tables
// name (both go to the registry before it is built).
std::span<const ProvidedRoutine> ui_service_routines();
std::vector<ProvidedRoutine> ui_service_table_routines();

// Registers the Clipboard class, the built-in interfaces, the bound parts, the binders and
// DragItem.
// After the runtime has started (the registry is built by then).
void register_ui_service_classes();

}  // namespace qv::ui

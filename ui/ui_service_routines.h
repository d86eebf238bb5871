// The clipboard's, the notifications' and the binders' exported routines and classes, which
// need no Win32 of their own (the clipboard reaches the system through SystemClipboard).
#pragma once

#include <span>

#include "runtime/registry/provided_routines.h"
#include "sdk/quaver.h"

namespace qv::ui {

std::span<const ProvidedRoutine> ui_service_routines();

// Registers the Clipboard class, the built-in interfaces, the bound parts and the binders.
// After the runtime has started (the registry is built by then).
void register_ui_service_classes();

}  // namespace qv::ui

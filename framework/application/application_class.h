// The built-in Application class: its definition, the routines image code calls on it, and
// the application object's start-up events.
#pragma once

#include <span>

#include "framework/application/application_object.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/registry/provided_routines.h"

namespace qv {

// Registers Application and the small classes it hands out (MDIWindow, ResourceFork).
void register_application_classes();
// The routines of Application and the classes it hands out that their tables do not name, and
// the tables.
std::span<const ProvidedRoutine> application_routines();
ClassTableList application_class_tables();

// A new instance of the plain Application class (one count).
RuntimeObject* new_plain_application();

// The application's menu bar changed or the MDI frame appeared: puts the bar's native menu on
// the frame. Set by the MDI frame's owner; null outside MDI mode.
using MenuBarPresenter = void (*)(RuntimeObject* menu_bar);
void set_menu_bar_presenter(MenuBarPresenter presenter);

}  // namespace qv

// Declared for image code in sdk/quaver.h.

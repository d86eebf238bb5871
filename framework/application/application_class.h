// The built-in Application class: its definition, the routines image code calls on it, and
// the application object's start-up events.
#pragma once

#include <span>

#include "framework/application/application_object.h"
#include "runtime/registry/provided_routines.h"

namespace qv {

// Registers Application and the small classes it hands out (MDIWindow, ResourceFork).
void register_application_classes();
std::span<const ProvidedRoutine> application_routines();

// A new instance of the plain Application class (one count).
RuntimeObject* new_plain_application();

// The application's menu bar changed or the MDI frame appeared: puts the bar's native menu on
// the frame. Set by the MDI frame's owner; null outside MDI mode.
using MenuBarPresenter = void (*)(RuntimeObject* menu_bar);
void set_menu_bar_presenter(MenuBarPresenter presenter);

}  // namespace qv

// Property accessors take the property record's param after the object, as every accessor does.
extern "C" {
RuntimeObject* getAppObject(void);
void ApplicationNewDocument(RuntimeObject* self);
void ApplicationOpenDocument(RuntimeObject* self, RuntimeObject* item);
void ApplicationAddMenuHandler(RuntimeObject* self, RuntimeString* name, RuntimeObject* handler);
RuntimeObject* AppMenuBarGetter(RuntimeObject* self, int32_t param);
void AppMenuBarSetter(RuntimeObject* self, int32_t param, RuntimeObject* menu_bar);
int32_t AppBalloonHelpVisibleGetter(RuntimeObject* self, int32_t param);
void AppBalloonHelpVisibleSetter(RuntimeObject* self, int32_t param, int32_t on);
void appMouseCursorSetter(RuntimeObject* self, int32_t param, RuntimeObject* cursor);
RuntimeObject* appResourceForkGetter(RuntimeObject* self, int32_t param);
RuntimeObject* AppDockItemGetter(RuntimeObject* self, int32_t param);
RuntimeObject* DockItemIconGraphicsGetter(RuntimeObject* self, int32_t param);
void DockItemResetIcon(RuntimeObject* self);
void DockItemIconUpdate(RuntimeObject* self);
}

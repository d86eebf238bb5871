#include "framework/application/application_services.h"

#include "framework/application/folder_item.h"
#include "framework/application/keyboard.h"
#include "framework/application/mouse_cursor.h"
#include "framework/application/screens.h"
#include "runtime/definitions/class_registry.h"

namespace qv {

void register_application_service_classes()
{
    RegisterDefinition(screen_definition());
    RegisterDefinition(keyboard_definition());
    RegisterDefinition(folder_item_definition());
    register_mouse_cursor_class();
}

std::span<const ProvidedRoutine> application_service_routines()
{
    // The classes' own routines come from their tables.
    static const ProvidedRoutine kRoutines[] = {
        QV_PROVIDED(getScreenCount), QV_PROVIDED(getScreen),      QV_PROVIDED(getKeyboardObject),
        QV_PROVIDED(getArrowCursor), QV_PROVIDED(getWatchCursor), QV_PROVIDED(getIBeamCursor),
    };
    return kRoutines;
}

}  // namespace qv

#include "framework/application/application_services.h"

#include "framework/application/folder_item.h"
#include "framework/application/keyboard.h"
#include "framework/application/screens.h"
#include "runtime/definitions/class_registry.h"

namespace qv {

void register_application_service_classes()
{
    RegisterDefinition(screen_definition());
    RegisterDefinition(keyboard_definition());
    RegisterDefinition(folder_item_definition());
}

std::span<const ProvidedRoutine> application_service_routines()
{
    static const ProvidedRoutine kRoutines[] = {
        {"AppIntegerVersionStuffGetter", reinterpret_cast<void*>(&AppIntegerVersionStuffGetter)},
        {"AppStringVersionStuffGetter", reinterpret_cast<void*>(&AppStringVersionStuffGetter)},
        {"screenLeftGetter", reinterpret_cast<void*>(&screenLeftGetter)},
        {"screenTopGetter", reinterpret_cast<void*>(&screenTopGetter)},
        {"screenWidthGetter", reinterpret_cast<void*>(&screenWidthGetter)},
        {"screenHeightGetter", reinterpret_cast<void*>(&screenHeightGetter)},
        {"screenDepthGetter", reinterpret_cast<void*>(&screenDepthGetter)},
        {"getScreenCount", reinterpret_cast<void*>(&getScreenCount)},
        {"getScreen", reinterpret_cast<void*>(&getScreen)},
        {"getKeyboardObject", reinterpret_cast<void*>(&getKeyboardObject)},
        {"modifierKeyGetter", reinterpret_cast<void*>(&modifierKeyGetter)},
        {"asyncModifierKeyGetter", reinterpret_cast<void*>(&asyncModifierKeyGetter)},
        {"keyboardAsyncKeyDown", reinterpret_cast<void*>(&keyboardAsyncKeyDown)},
        {"fileAbsolutePathGetter", reinterpret_cast<void*>(&fileAbsolutePathGetter)},
        {"fileNameGetter", reinterpret_cast<void*>(&fileNameGetter)},
        {"fileExistsGetter", reinterpret_cast<void*>(&fileExistsGetter)},
    };
    return kRoutines;
}

}  // namespace qv

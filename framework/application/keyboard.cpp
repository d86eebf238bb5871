// The _Keyboard object: the modifier keys as of the last mouse-down or command (gModifierState),
// their physical state now, and any key's physical state by its classic key code.
#include "framework/application/keyboard.h"

#include "core/once.h"
#include "framework/application/application_object.h"
#include "framework/key_code_table.h"
#include "framework/key_names.h"
#include "platform/win32/windows_api.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"

namespace qv {
namespace {

#define QV_MODIFIER(label, routine, mask)                                       \
    {                                                                           \
        0, label, &kBooleanType, QV_ROUTINE(routine), nullptr, nullptr, mask, 0 \
    }

const PropertyRecord kProperties[] = {
    QV_MODIFIER("ShiftKey", modifierKeyGetter, kModifierShift),
    QV_MODIFIER("CommandKey", modifierKeyGetter, kModifierCommand),
    QV_MODIFIER("ControlKey", modifierKeyGetter, kModifierCtrl),
    QV_MODIFIER("OptionKey", modifierKeyGetter, kModifierAlt),
    QV_MODIFIER("AsyncShiftKey", asyncModifierKeyGetter, kModifierShift),
    QV_MODIFIER("AsyncCommandKey", asyncModifierKeyGetter, kModifierCommand),
    QV_MODIFIER("AsyncControlKey", asyncModifierKeyGetter, kModifierCtrl),
    QV_MODIFIER("AsyncOptionKey", asyncModifierKeyGetter, kModifierAlt),
};

const ParameterRecord kKeyCode[] = {{"KeyCode", &kIntegerType, 0}};

const MethodRecord kMethods[] = {
    {"AsyncKeyDown", &kBooleanType, kKeyCode, 1, QV_ROUTINE(keyboardAsyncKeyDown), nullptr, nullptr, 0},
};

const ClassTables kTables[] = {{kProperties, kMethods}};

using platform::win32::key_held;

}  // namespace

ClassTableList keyboard_class_tables() { return kTables; }

ObjectDefinition* keyboard_definition()
{
    static ObjectDefinition s_definition;
    static Once s_once;
    s_once([&] {
        DefinitionSource source{};
        source.name = "_Keyboard";
        source.instance_size = sizeof(RuntimeObject);
        source.properties = kProperties;
        source.methods = kMethods;
        build_definition(s_definition, source);
    });
    return &s_definition;
}

}  // namespace qv

extern "C" {

RuntimeObject* getKeyboardObject(void) { return CreateInstance(qv::keyboard_definition()); }

int32_t modifierKeyGetter(RuntimeObject*, int32_t mask) { return (qv::gModifierState & static_cast<u32>(mask)) != 0; }

int32_t asyncModifierKeyGetter(RuntimeObject*, int32_t mask)
{
    switch (static_cast<u32>(mask)) {
    case qv::kModifierCommand: return qv::key_held(VK_LWIN) || qv::key_held(VK_RWIN);
    case qv::kModifierShift: return qv::key_held(VK_SHIFT);
    case qv::kModifierAlt: return qv::key_held(VK_MENU);
    case qv::kModifierCtrl: return qv::key_held(VK_CONTROL);
    default: return 0;
    }
}

int32_t keyboardAsyncKeyDown(RuntimeObject*, int32_t keyCode)
{
    const u8 virtual_key = qv::virtual_key_for_key_code(keyCode);
    return virtual_key != 0 && qv::key_held(virtual_key);
}

}  // extern "C"

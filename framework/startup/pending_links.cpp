// Temporary, removed when the menus land: lets runtime.exe link meanwhile.
#include "framework/menus/menu_dispatch.h"
namespace qv {
void run_menu_enabling_cycle(bool) { }
bool dispatch_menu_command(u32) { return false; }
bool act_on_menu_shortcut(u32, bool) { return false; }
void* menu_native_handle(RuntimeObject*) { return nullptr; }
bool call_menu_handler(RuntimeObject*, i32) { return false; }
void register_menu_classes() { }
std::span<const ProvidedRoutine> menu_routines() { return {}; }
}  // namespace qv

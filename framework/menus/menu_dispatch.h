// The menus as the event loop and the application use them: the enabling cycle, choosing an
// item by command identifier or keyboard shortcut, and the native menu of an item.
#pragma once

#include <span>

#include "core/types.h"
#include "runtime/registry/provided_routines.h"
#include "sdk/quaver.h"

namespace qv {

void run_menu_enabling_cycle(bool skip);
bool dispatch_menu_command(u32 command_id);
bool act_on_menu_shortcut(u32 target, bool modal_front);
void* menu_native_handle(RuntimeObject* item);
bool call_menu_handler(RuntimeObject* handler, i32 index);
void register_menu_classes();
std::span<const ProvidedRoutine> menu_routines();

}  // namespace qv

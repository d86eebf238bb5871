// What the event loop, the application object and start-up call on the menus: the
// menu-enabling cycle, choosing an item by command identifier or by keyboard shortcut, an
// item's native menu, calling a registered menu handler, and registering the menu classes and
// routines.
//
// These run image code (events and handlers), which may raise: the raise returns normally and
// the exception lands at the caller's nearest guard, so call them inside run_guarded where it
// must stop there.
#pragma once

#include <span>

#include "core/types.h"
#include "runtime/registry/provided_routines.h"
#include "sdk/quaver.h"

namespace qv {

// The menu-enabling cycle over the front window's menu bar (else the application's): every
// item disabled, then, unless `skip`, the AutoEnable pass and the items' EnableMenu events;
// then the focused control's own items and the front window's EnableMenuItems; then, unless
// `skip`, the application's EnableMenuItems. `skip` is true while a modal window is in front.
void run_menu_enabling_cycle(bool skip);

// Chooses the item with this command identifier in the front window's menu bar (else the
// application's). Handlers are tried in order until one returns true: the focused control's
// menu handler, the front window's, the application's, the item's Action event (the special
// items' behaviour included), the focused control's DoMenuCommand. True when an item was found
// and a handler handled it.
bool dispatch_menu_command(u32 command_id);

// A kind-0 shortcut matched: runs the enabling cycle with `modal_front` as its skip flag and,
// if the item with the target's command identifier (low 16 bits) is not grayed, chooses it.
// True when the item was chosen.
bool act_on_menu_shortcut(u32 target, bool modal_front);

// The menu bar in use: the front window's MenuBar when it has one, else the application's;
// borrowed, or nil.
RuntimeObject* current_menu_bar();

// The item's native menu (an HMENU), or null for nil.
void* menu_native_handle(RuntimeObject* item);

// Calls _MenuHandler.Action(index) on a registered handler object.
bool call_menu_handler(RuntimeObject* handler, i32 index);

// The menus' exported routines that the classes' tables do not name. Start-up hands them to
// add_provided_routines before the export registry is built, beside the tables' routines.
std::span<const ProvidedRoutine> menu_routines();
// Builds and registers the menu class definitions, after the portable runtime has started.
// Safe to call more than once.
void register_menu_classes();

}  // namespace qv

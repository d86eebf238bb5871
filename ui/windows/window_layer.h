// The window layer as the rest of the program sees it: its registration at start-up, its
// exported routines, and what its files share.
#pragma once

#include "platform/win32/windows_api.h"

#include <span>
#include <vector>

#include "runtime/definitions/class_tables.h"
#include "runtime/definitions/object_definition.h"
#include "runtime/registry/provided_routines.h"
#include "sdk/quaver.h"

namespace qv::ui {

class SubPane;

// Adds the window routines to the registry's list, registers the Window class and "QVWindow"
// and installs the window services. Call before start_framework_runtime.
void register_window_layer();
// The window routines that the Window class's tables do not name, and those the tables name.
std::span<const ProvidedRoutine> window_routines();
std::vector<ProvidedRoutine> window_table_routines();

ObjectDefinition* window_definition();
ClassTableList window_class_tables();
// Builds and registers the Window class (once).
void register_window_class_definition();

// The implicit-window registry: the window filed under its class name (when the name waits
// for one), and taking it out again when the window closes.
void file_implicit_window(RuntimeObject* window);
void forget_implicit_window(RuntimeObject* window);
// Empties the registry (tests start from none).
void reset_implicit_windows();

// Runs `fire` on the object directly while the event loop runs, else through RunGuarded (the
// Open events of start-up).
void fire_open_guarded(void (*fire)(RuntimeObject*), RuntimeObject* object);

// Puts the window's BalloonHelp on its native window as its help tip (none when empty).
void apply_window_help_tip(RuntimeObject* window);

// For the window's MenuBarVisible, when it is in front (or `known_in_front`): hides the task
// bar and takes the menu off the window (the frame's, for an MDI child) keeping the client
// size, or shows the task bar and puts the menu it took back.
void apply_menu_bar_visibility(RuntimeObject* window, bool known_in_front);

// A document window without a menu bar of its own shows the application's (not in MDI mode,
// where the frame carries it).
void show_application_menu_bar(RuntimeObject* window);

// Closes every runtime window, newest first, without CancelClose.
void close_all_windows();
// The loop's layout step: pending geometry, then showing windows marked to be shown.
void apply_pending_layout();

// Draws the window's client area and its visible child windows, each through its own
// WM_ERASEBKGND and WM_PRINTCLIENT, into `dc`, whose origin is the client area's top-left.
void print_window_into(HWND window, HDC dc);

// Deletes the brush kept for the last control-colour answer (memory has run out; no control
// paints again before the process ends).
void release_control_colour_brush();

// Installs the window services (window_services.h).
void install_window_layer_services();
// The window's default and cancel buttons (Enter and Escape push them), or null.
SubPane* window_default_button(RuntimeObject* window);
SubPane* window_cancel_button(RuntimeObject* window);

// Full-screen mode on or off for a window with a native window.
void switch_full_screen(RuntimeObject* window, bool on);

// The front runtime window's Window (foreground, or the active MDI child), or nil.
RuntimeObject* front_window_object();
// The front window for the menu cycle and the keyboard: down the Z order from the foreground
// window, the first visible runtime window of a frame that is not floating.
RuntimeObject* front_window_by_z_order();

}  // namespace qv::ui

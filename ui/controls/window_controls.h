// What a window does with its controls: the window layer builds, opens, lays out, closes and
// routes the mouse to its controls through these; the controls own how.
#pragma once

#include <vector>

#include "core/types.h"
#include "sdk/quaver.h"
#include "ui/control_locks.h"

namespace qv::ui {

class SubPane;

// Instances of Control (any control), and of RectControl (a control with a rectangle).
bool is_control(RuntimeObject* object);
bool is_rect_control(RuntimeObject* object);

// The native window a new peer of the control goes into: the initial parent's peer, else the
// window's content peer; null when neither exists.
void* peer_parent_window(RuntimeObject* control);

// Fires the control's hidden CreatePane (the concrete class builds its peer there), then sets
// the new peer up from the stored properties: visibility, enabling, help texts, cursor.
void create_control_pane(RuntimeObject* control);
// The control's Open and Close events (the caller guards them where the loop is not running).
void fire_control_open(RuntimeObject* control);
void fire_control_close(RuntimeObject* control);

// Stores new bounds (window coordinates) and hands them to the peer; the Lock rule's step.
void set_control_bounds(RuntimeObject* control, const ControlBounds& bounds);

// Visible, enabled, and (x, y) (window coordinates) inside its bounds.
bool control_accepts_point(RuntimeObject* control, i32 x, i32 y);
// The window's mouse routing: the peer's DoMouseDown (true ends the click), the native and
// image MouseEnter / MouseExit, and the peer's DoMouseMoved plus MouseMove, relative to the
// control's top-left corner.
bool control_mouse_down(RuntimeObject* control, i32 x, i32 y, u32 modifiers, bool secondary);
void control_mouse_enter(RuntimeObject* control);
void control_mouse_exit(RuntimeObject* control);
void control_mouse_moved(RuntimeObject* control, i32 x, i32 y);

// The process-wide keyboard focus: the peer that holds it, or null.
SubPane* focus_pane();
// Moves the focus to `pane` (null clears it): the holder loses it first; raises the window's
// focus-changed mark.
void move_focus(SubPane* pane);
// Clears the focus if it belongs to a peer inside `window_handle`.
void clear_focus_within(void* window_handle);
// The peers of `window` that can take the focus, in tab order (the controls map's order).
std::vector<SubPane*> focus_order(RuntimeObject* window);
// Where the focus goes when `window` becomes active: the peer that last held it there if it
// can still take it (shown and enabled), else the first in tab order; null if none can.
SubPane* focus_on_activation(RuntimeObject* window);
// A peer about to be destroyed: it neither holds the focus nor stays `window`'s peer to get
// it back.
void forget_focus_peer(RuntimeObject* window, SubPane* pane);
// Every peer of `window` carries the window's active state (the Control's Active).
void set_peers_active(RuntimeObject* window, bool active);

}  // namespace qv::ui

// What the control routines share: the window's controls, walks over them, and the checks
// every routine makes on its control.
#pragma once

#include <vector>

#include "core/types.h"
#include "runtime/objects/object_ref.h"
#include "sdk/quaver.h"
#include "ui/control_registry.h"
#include "ui/controls/control_object.h"

namespace qv::ui {

class SubPane;

// The control's fields, or null (after the nil-object raise) for nil.
ControlObject* control_or_raise(RuntimeObject* self);
// The registry of a window, or of a control's window; null when there is none.
ControlRegistry* controls_of_window(RuntimeObject* window);
ControlRegistry* controls_of_control(RuntimeObject* control);

// The lists below hold each control for as long as the list lives, so that visiting them may
// run image code that closes controls or changes the window's map.
// The controls of the window whose peer lies inside `container`: at any depth, or only as
// direct children. In map order.
std::vector<ObjectRef> contained_controls(RuntimeObject* window, const SubPane* container, bool any_depth);
// Every control of the window, in map order.
std::vector<ObjectRef> window_control_list(RuntimeObject* window);

// Every control of the same window that links to `control` forgets the link.
void forget_linked_control(RuntimeObject* control);

}  // namespace qv::ui

// Firing a control's events. Before the event loop runs (windows built during start-up) each
// event runs guarded, so an exception in it is taken up there; inside the loop the iteration's
// guard takes it up.
#pragma once

#include "core/types.h"
#include "sdk/quaver.h"

namespace qv::ui {

void fire_event_guarded(RuntimeObject* control, i32 index);

}  // namespace qv::ui

// Objects that must be let go of when the image's entry returns (temporary folders, open
// ports and the like): each adds itself when made and removes itself when destroyed.
#pragma once

#include "sdk/quaver.h"

namespace qv {

void add_exit_cleanup(RuntimeObject* object);
void remove_exit_cleanup(RuntimeObject* object);
// Releases every object still on the list, most recently added first.
void run_exit_cleanup();

}  // namespace qv

// Every class record RuntimeNewClass has made. Classes are never freed, so an address in this
// set is a class for the rest of the process: code handed an address it cannot trust (the
// debugger reading a property of whatever the user names) asks here before following it.
#pragma once

#include "sdk/quaver.h"

namespace qv {

void remember_class(const ClassRecord* c);
bool is_known_class(const ClassRecord* c);

}  // namespace qv

// The built-in _Keyboard class (getKeyboardObject and its accessors in sdk/quaver.h).
#pragma once

#include "runtime/definitions/object_definition.h"

namespace qv {

ObjectDefinition* keyboard_definition();

}  // namespace qv

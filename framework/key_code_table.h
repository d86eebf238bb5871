// The classic desktop key codes that Keyboard.AsyncKeyDown takes, as Windows virtual keys.
#pragma once

#include "core/types.h"

namespace qv {

// The virtual key of the key code, or 0 when the code names no key on this platform (10, 52,
// 54, ..., and every code outside 0..127).
u8 virtual_key_for_key_code(i32 key_code);

}  // namespace qv

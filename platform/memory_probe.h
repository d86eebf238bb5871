// Asking whether memory can be read without touching it (the exception search walks frames
// and code that a broken stack may point anywhere).
#pragma once

#include <cstddef>

namespace platform {

bool is_readable(const void* address, size_t size);

}  // namespace platform

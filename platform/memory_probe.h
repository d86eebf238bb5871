// Asking whether memory can be read or written without touching it (the exception search
// walks frames and code that a broken stack may point anywhere; a debugger names addresses).
#pragma once

#include <cstddef>

namespace platform {

bool is_readable(const void* address, size_t size);
bool is_writable(const void* address, size_t size);

}  // namespace platform

// Ending the process from deep inside the runtime.
#pragma once

#include <cstdint>

namespace platform {

// This process's identifier as the system numbers it.
std::uint32_t current_process_id();

// Ends the process at once with the code; no destructors, no atexit handlers.
[[noreturn]] void exit_process(int code);

// Last resort when exit_process somehow returned: reports the text and aborts.
[[noreturn]] void fatal_exit(const char* text);

}  // namespace platform

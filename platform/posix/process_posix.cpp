#include "platform/process.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace platform {

std::uint32_t current_process_id() { return static_cast<std::uint32_t>(getpid()); }

void exit_process(int code)
{
    std::fflush(nullptr);
    _exit(code);
}

void fatal_exit(const char* text)
{
    std::fprintf(stderr, "%s\n", text);
    std::abort();
}

}  // namespace platform

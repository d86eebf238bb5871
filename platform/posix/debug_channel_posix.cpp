#include <cstdio>

#include "platform/debug_channel.h"

namespace platform {

void system_debug_note(const char* text) { std::fprintf(stderr, "%s\n", text); }

}  // namespace platform

#include <cstdio>

#include "platform/debug_channel.h"

namespace platform {

void debug_note(const char* text) { std::fprintf(stderr, "%s\n", text ? text : ""); }

}  // namespace platform

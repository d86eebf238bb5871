#include "platform/debug_channel.h"

#include <windows.h>

namespace platform {

void system_debug_note(const char* text)
{
    OutputDebugStringA(text);
    OutputDebugStringA("\n");
}

}  // namespace platform

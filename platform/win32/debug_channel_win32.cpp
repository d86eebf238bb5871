#include "platform/debug_channel.h"

#include <windows.h>

namespace platform {

void debug_note(const char* text)
{
    OutputDebugStringA(text ? text : "");
    OutputDebugStringA("\n");
}

}  // namespace platform

#include "platform/win32/failed_call.h"

#include <windows.h>

#include <string>

#include "platform/debug_channel.h"

namespace platform::win32 {

void note_failed_call(const char* call, const char* detail)
{
    const DWORD error = GetLastError();
    char text[256] = "";
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        text, sizeof text, nullptr);
    std::string note = std::string(call) + " failed";
    if (detail && *detail)
        note += std::string(" (") + detail + ")";
    note += ": error " + std::to_string(error);
    if (length) {
        std::string message(text, length);
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' '))
            message.pop_back();
        note += ", " + message;
    }
    debug_note(note.c_str());
}

}  // namespace platform::win32

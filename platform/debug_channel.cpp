#include "platform/debug_channel.h"

#include <utility>

namespace platform {
namespace {

DebugNoteSink s_sink = nullptr;

}  // namespace

DebugNoteSink set_debug_note_sink(DebugNoteSink sink) { return std::exchange(s_sink, sink); }

void debug_note(const char* text)
{
    if (!text)
        text = "";
    if (s_sink)
        s_sink(text);
    else
        system_debug_note(text);
}

}  // namespace platform

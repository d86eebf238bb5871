// The message sink shared by both platforms' message boxes.
#include "platform/message_box.h"

namespace platform {
namespace {

MessageSink s_sink = nullptr;

}  // namespace

MessageSink set_message_sink(MessageSink sink)
{
    MessageSink previous = s_sink;
    s_sink = sink;
    return previous;
}

bool deliver_to_message_sink(const char* title, const char* text)
{
    if (!s_sink)
        return false;
    s_sink(title, text);
    return true;
}

}  // namespace platform

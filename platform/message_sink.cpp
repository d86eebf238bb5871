// The message sink and the message-box owner, shared by both platforms.
#include "platform/message_box.h"

namespace platform {
namespace {

MessageSink s_sink = nullptr;
MessageOwner s_owner = nullptr;

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

MessageOwner set_message_owner(MessageOwner owner)
{
    MessageOwner previous = s_owner;
    s_owner = owner;
    return previous;
}

void* message_owner() { return s_owner ? s_owner() : nullptr; }

}  // namespace platform

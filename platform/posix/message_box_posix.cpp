// No desktop on Linux: the message goes to standard error and the answer is OK.
#include "platform/message_box.h"

#include <cstdio>

namespace platform {

bool ask_ok_cancel(const char* title, const char* text, MessageIcon, DefaultButton)
{
    std::fprintf(stderr, "%s\n%s\n", title, text);
    std::fflush(stderr);
    return true;
}

void show_message(const char* title, const char* text)
{
    if (deliver_to_message_sink(title, text))
        return;
    if (title && *title)
        std::fprintf(stderr, "%s: %s\n", title, text);
    else
        std::fprintf(stderr, "%s\n", text);
    std::fflush(stderr);
}

// Standard error has no icons.
void show_warning(const char* title, const char* text) { show_message(title, text); }

}  // namespace platform

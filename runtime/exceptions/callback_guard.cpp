#include "runtime/exceptions/callback_guard.h"

#include <string>

#include "platform/debug_channel.h"

namespace qv {

void note_callback_exception(const char* callback, const char* what)
{
    const std::string note = std::string("C++ exception in ") + (callback ? callback : "a callback") + ": " +
        (what ? what : "") + "; the callback gave its default answer";
    platform::debug_note(note.c_str());
}

}  // namespace qv

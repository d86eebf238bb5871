// RuntimeMsgBox before the window framework exists: the text in a plain message box (on
// Linux, standard error). The framework's version looks for an owner window and a caption.
#include "platform/message_box.h"
#include "runtime/strings/string_ref.h"

extern "C" void RuntimeMsgBox(RuntimeString* text)
{
    qv::StringRef message = qv::StringRef::share(text).ToUTF8();
    if (message.is_nil() && text)  // an encoding that cannot be converted: show the bytes
        message = qv::StringRef::share(text);
    platform::show_message("", message.CText());
}

// RuntimeMsgBox: the text laid out as message and explanation, shown by the window layer's
// presenter when there is one, else in a plain message box (on Linux, standard error).
#include "platform/message_box.h"
#include "runtime/exports/message_box_text.h"
#include "runtime/strings/string_ref.h"

extern "C" void RuntimeMsgBox(RuntimeString* text)
{
    qv::StringRef bytes = qv::StringRef::share(text).ToUTF8();
    if (bytes.is_nil() && text)  // an encoding that cannot be converted: show the bytes
        bytes = qv::StringRef::share(text);
    const std::string shown = qv::compose_message_box_text(qv::split_message_box_text(
        std::string_view(reinterpret_cast<const char*>(bytes.bytes()), static_cast<size_t>(bytes.length()))));
    if (qv::MessageBoxPresenter presenter = qv::message_box_presenter())
        presenter(shown.c_str());
    else
        platform::show_message("", shown.c_str());
}

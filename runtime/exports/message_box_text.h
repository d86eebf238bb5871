// How RuntimeMsgBox lays out its text: a message and an explanation parted by the first blank
// line, put back together the way the box shows them; and the seam through which the window
// layer shows the box itself (with an owner window and its caption).
#pragma once

#include <string>
#include <string_view>

namespace qv {

struct MessageBoxText {
    std::string message;
    std::string explanation;  // empty when the text has no blank line after its first character
};

// Parts the text at its first "\r\n\r\n" when that starts after the first character; a text
// that starts with a blank line is all message.
MessageBoxText split_message_box_text(std::string_view text);

// The message, then "\r\n\r\n" and the explanation when there is one.
std::string compose_message_box_text(const MessageBoxText& parts);

// Shows RuntimeMsgBox's composed UTF-8 text. Null restores the plain platform message, which
// is what the runners without windows use (qvrun prints it). Returns the previous presenter.
using MessageBoxPresenter = void (*)(const char* text);
MessageBoxPresenter set_message_box_presenter(MessageBoxPresenter presenter);
MessageBoxPresenter message_box_presenter();

}  // namespace qv

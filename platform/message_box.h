// Message boxes as the runtime needs them before any window exists.
#pragma once

namespace platform {

enum class MessageIcon { None, Error, Warning, Information };
enum class DefaultButton { First, Second };

// Asks with OK and Cancel; true for OK. Text and title are UTF-8. Where there is no
// desktop (the Linux build) the text goes to standard error and the answer is OK.
bool ask_ok_cancel(const char* title, const char* text, MessageIcon icon, DefaultButton def);

// Where show_message's text goes instead of a box while installed (runners that report on
// standard error, tests); null restores the box. Returns the previous sink.
using MessageSink = void (*)(const char* title, const char* text);
MessageSink set_message_sink(MessageSink sink);
// Hands the message to the sink when one is installed; false when there is none.
bool deliver_to_message_sink(const char* title, const char* text);

// The window that owns message boxes (a native window handle; null for none): the box then
// keeps that window disabled while it is up and gives it back the activation when it closes.
// The window layer installs it; null restores ownerless boxes. Returns the previous one.
using MessageOwner = void* (*)();
MessageOwner set_message_owner(MessageOwner owner);
void* message_owner();

// Shows a message with one OK button and an information icon (standard error on Linux).
void show_message(const char* title, const char* text);
// The same with the warning icon.
void show_warning(const char* title, const char* text);

}  // namespace platform

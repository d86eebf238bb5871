// The debug channel: notes for a developer watching the program (a debugger's output on
// Windows, standard error elsewhere). Never a dialog: the application image sees nothing of it.
#pragma once

namespace platform {

// One line; the channel adds the line end.
void debug_note(const char* text);

}  // namespace platform

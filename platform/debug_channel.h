// The debug channel: notes for a developer watching the program (a debugger's output on
// Windows, standard error elsewhere). Never a dialog: the application image sees nothing of it.
#pragma once

namespace platform {

// One line; the channel adds the line end.
void debug_note(const char* text);

// Where notes go instead of the system's channel while set (tests read them there); null puts
// the system's channel back. Returns the previous sink.
using DebugNoteSink = void (*)(const char* text);
DebugNoteSink set_debug_note_sink(DebugNoteSink sink);

// The system's channel itself (one file per system).
void system_debug_note(const char* text);

}  // namespace platform

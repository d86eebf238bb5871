// What the program around the debugger connection adds to it. The console runner adds
// nothing: lines are then read only by RuntimeDebuggerEntry, and there are no windows. The
// Windows runtime has an event loop and windows: it serves the connection's socket from the
// loop, so that lines arriving while the program waits for events are handled at once, keeps
// windows painted while the program is stopped, and answers for its front window.
#pragma once

#include "core/types.h"
#include "platform/sockets.h"

namespace qv::debugger {

struct DebuggerEnvironment {
    // Before connecting (letting the program's windows be brought to the front).
    void (*before_connect)() = nullptr;
    // The connection is open: run `poll` whenever lines arrive while the program runs.
    void (*serve_socket)(platform::SocketHandle socket, void (*poll)()) = nullptr;
    // The connection is about to close.
    void (*stop_serving_socket)() = nullptr;
    // One turn of the wait at a stop, between reads of the socket (painting only).
    void (*pump_once)() = nullptr;
    // The application's front visible window (the frame window in MDI mode); 0 for none.
    u32 (*front_window)() = nullptr;
    void (*bring_to_front)(u32 window) = nullptr;
};

// The installed environment; every entry is non-null (defaults do nothing, no window).
const DebuggerEnvironment& debugger_environment();
// Installs `environment`; null entries keep the defaults.
void install_debugger_environment(const DebuggerEnvironment& environment);

}  // namespace qv::debugger

// The Windows runtime's debugger environment (debugger_environment.h): the event loop serves
// the connection, a stop keeps windows painted, and the front window is a real window.
#pragma once

namespace qv::debugger {

// runtime.exe calls it at start-up, before the image runs.
void install_windows_debugger_environment();

}  // namespace qv::debugger

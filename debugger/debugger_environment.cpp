#include "debugger/debugger_environment.h"

namespace qv::debugger {
namespace {

DebuggerEnvironment defaults()
{
    DebuggerEnvironment e;
    e.before_connect = [] {};
    e.serve_socket = [](platform::SocketHandle, void (*)()) {};
    e.stop_serving_socket = [] {};
    e.pump_once = [] {};
    e.front_window = []() -> u32 { return 0; };
    e.bring_to_front = [](u32) {};
    return e;
}

DebuggerEnvironment& installed()
{
    static DebuggerEnvironment s_environment = defaults();
    return s_environment;
}

}  // namespace

const DebuggerEnvironment& debugger_environment() { return installed(); }

void install_debugger_environment(const DebuggerEnvironment& environment)
{
    DebuggerEnvironment& e = installed();
    if (environment.before_connect)
        e.before_connect = environment.before_connect;
    if (environment.serve_socket)
        e.serve_socket = environment.serve_socket;
    if (environment.stop_serving_socket)
        e.stop_serving_socket = environment.stop_serving_socket;
    if (environment.pump_once)
        e.pump_once = environment.pump_once;
    if (environment.front_window)
        e.front_window = environment.front_window;
    if (environment.bring_to_front)
        e.bring_to_front = environment.bring_to_front;
}

}  // namespace qv::debugger

// The runtime's end of the debugger connection: a loopback TCP socket carrying lines that
// end in a carriage return.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/types.h"
#include "debugger/wire_lines.h"
#include "platform/sockets.h"

namespace qv::debugger {

class DebuggerConnection {
public:
    ~DebuggerConnection() { close(); }

    // Connects to the debugger at 127.0.0.1:port, waiting at most `timeout_ms` for it.
    bool open(u16 port, u32 timeout_ms);
    bool is_open() const { return m_socket != platform::kNoSocket; }
    platform::SocketHandle socket() const { return m_socket; }

    // Sends formatted lines. Without a socket this is a failed assertion and nothing is sent;
    // false then, and when the debugger has gone.
    bool send(std::string_view lines);

    // Appends the complete lines that have arrived, waiting at most `wait_ms` for the first
    // bytes. False when the debugger has gone.
    bool receive(u32 wait_ms, std::vector<std::string>& lines);

    void close();

private:
    platform::SocketHandle m_socket = platform::kNoSocket;
    LineSplitter m_splitter;
};

}  // namespace qv::debugger

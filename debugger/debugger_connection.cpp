#include "debugger/debugger_connection.h"

#include "runtime/diagnostics/assertion.h"

namespace qv::debugger {

namespace {

constexpr const char* kSource = "DebuggerConnection";
constexpr i32 kSendLine = 0;  // the report names the condition; the line is not meaningful here

}  // namespace

bool DebuggerConnection::open(u16 port, u32 timeout_ms)
{
    close();
    m_splitter = LineSplitter{};
    m_socket = platform::connect_loopback(port, timeout_ms);
    return is_open();
}

bool DebuggerConnection::send(std::string_view lines)
{
    if (!is_open()) {
        assertion_failed(kSource, kSendLine, "mWire");
        return false;
    }
    return platform::send_all(m_socket, lines.data(), lines.size());
}

bool DebuggerConnection::receive(u32 wait_ms, std::vector<std::string>& lines)
{
    if (!is_open())
        return false;
    char buffer[4096];
    std::ptrdiff_t got = platform::receive_some(m_socket, buffer, sizeof buffer, wait_ms);
    // Take everything already there, so a burst of lines is handled in one go.
    while (got > 0) {
        m_splitter.feed(std::string_view(buffer, static_cast<size_t>(got)), lines);
        got = platform::receive_some(m_socket, buffer, sizeof buffer, 0);
    }
    return got == 0;
}

void DebuggerConnection::close()
{
    platform::close_socket(m_socket);
    m_socket = platform::kNoSocket;
}

}  // namespace qv::debugger

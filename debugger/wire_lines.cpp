#include "debugger/wire_lines.h"

namespace qv::debugger {

namespace {

constexpr char kLineEnd = '\r';

char ascii_upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

void LineSplitter::feed(std::string_view bytes, std::vector<std::string>& lines)
{
    while (!bytes.empty()) {
        const size_t end = bytes.find(kLineEnd);
        const bool complete = end != std::string_view::npos;
        const std::string_view piece = bytes.substr(0, complete ? end : bytes.size());
        bytes.remove_prefix(complete ? end + 1 : bytes.size());

        if (!m_dropping && m_pending.size() + piece.size() > kMaxLineBytes) {
            m_pending.clear();
            m_pending.shrink_to_fit();
            m_dropping = true;
        }
        if (!m_dropping)
            m_pending.append(piece);
        if (complete) {
            if (!m_dropping)
                lines.push_back(std::move(m_pending));
            m_pending.clear();
            m_dropping = false;
        }
    }
}

CommandLine split_command_line(std::string_view line)
{
    const size_t space = line.find(' ');
    if (space == std::string_view::npos)
        return {line, {}};
    return {line.substr(0, space), line.substr(space + 1)};
}

bool same_command_word(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (ascii_upper(a[i]) != ascii_upper(b[i]))
            return false;
    }
    return true;
}

void append_line(std::string& out, std::string_view command, std::string_view argument)
{
    out.append(command);
    if (!argument.empty()) {
        out.push_back(' ');
        out.append(argument);
    }
    out.push_back(kLineEnd);
}

std::string format_line(std::string_view command, std::string_view argument)
{
    std::string out;
    append_line(out, command, argument);
    return out;
}

}  // namespace qv::debugger

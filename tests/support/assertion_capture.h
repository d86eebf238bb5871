// Answers the runtime's failed-assertion dialog inside tests and records what it showed.
// Outside a capture, any failed assertion fails the running test (and is answered OK).
#pragma once

#include <string>
#include <vector>

#include "runtime/diagnostics/assertion.h"

namespace qv::test {

class AssertionCapture {
public:
    explicit AssertionCapture(AssertionAnswer answer = AssertionAnswer::Ok);
    ~AssertionCapture();
    AssertionCapture(const AssertionCapture&) = delete;
    AssertionCapture& operator=(const AssertionCapture&) = delete;

    const std::vector<std::string>& reports() const { return m_reports; }
    size_t count() const { return m_reports.size(); }
    // True when some report names this source and line ("string: 706").
    bool saw(const char* source, int line) const;

private:
    static AssertionAnswer respond(const char* text);

    AssertionAnswer m_answer;
    std::vector<std::string> m_reports;
    AssertionCapture* m_previous;
};

// Installed by the test main for the whole run.
void install_unexpected_assertion_responder();

}  // namespace qv::test

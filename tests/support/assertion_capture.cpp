#include "tests/support/assertion_capture.h"

#include <gtest/gtest.h>

namespace qv::test {
namespace {

AssertionCapture* s_active = nullptr;

AssertionAnswer unexpected(const char* text)
{
    ADD_FAILURE() << "unexpected failed assertion:\n" << text;
    return AssertionAnswer::Ok;
}

}  // namespace

AssertionCapture::AssertionCapture(AssertionAnswer answer) : m_answer(answer), m_previous(s_active)
{
    s_active = this;
    set_assertion_responder(&AssertionCapture::respond);
}

AssertionCapture::~AssertionCapture()
{
    s_active = m_previous;
    set_assertion_responder(s_active ? &AssertionCapture::respond : &unexpected);
}

AssertionAnswer AssertionCapture::respond(const char* text)
{
    s_active->m_reports.emplace_back(text);
    return s_active->m_answer;
}

bool AssertionCapture::saw(const char* source, int line) const
{
    const std::string needle = std::string(source) + ": " + std::to_string(line) + "\n";
    for (const std::string& report : m_reports)
        if (report.find(needle) != std::string::npos)
            return true;
    return false;
}

void install_unexpected_assertion_responder() { set_assertion_responder(&unexpected); }

}  // namespace qv::test

// Runs a test under a given system code page: on Linux by selecting it through the platform's
// seam (and restoring the default afterwards), on Windows only when the system already uses
// it (run the suite with LC_ALL=ja_JP.UTF-8 under Wine for 932); otherwise the test is skipped.
#pragma once

#include <gtest/gtest.h>

#include "platform/system_code_page.h"

namespace qv::test {

class CodePageGuard {
public:
    explicit CodePageGuard(u32 code_page)
    {
        m_selected = platform::select_system_code_page_for_tests(code_page);
        m_active = platform::system_code_page() == code_page;
    }
    ~CodePageGuard()
    {
        if (m_selected)
            platform::select_system_code_page_for_tests(0);
    }
    CodePageGuard(const CodePageGuard&) = delete;
    CodePageGuard& operator=(const CodePageGuard&) = delete;

    bool active() const { return m_active; }

private:
    bool m_selected = false;
    bool m_active = false;
};

}  // namespace qv::test

// Declares the guard for the rest of the test, or skips the test.
#define QV_REQUIRE_CODE_PAGE(code_page)                       \
    ::qv::test::CodePageGuard qv_code_page_guard_(code_page); \
    if (!qv_code_page_guard_.active())                        \
    GTEST_SKIP() << "needs system code page " << (code_page) << ", the system uses " << ::platform::system_code_page()

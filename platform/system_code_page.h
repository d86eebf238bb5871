// The system ANSI code page: the code page that text without a Unicode tag is read in. POSIX
// systems have no such setting, so there it is a fixed default that tests may change.
#pragma once

#include "core/types.h"

namespace platform {

// 932 on a Japanese Windows system, 1252 on a Western one; on POSIX 1252 unless a test has
// selected another.
u32 system_code_page();

// Test seam: on POSIX makes system_code_page() report `code_page` (0 restores the default) and
// returns true. On Windows the system decides; nothing changes and the result is false.
bool select_system_code_page_for_tests(u32 code_page);

}  // namespace platform

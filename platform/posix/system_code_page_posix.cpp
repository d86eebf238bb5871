// POSIX has no ANSI code page: Western Latin (1252) stands in for it, and tests can select
// another one (932 for the Japanese double-byte behaviour).
#include "platform/system_code_page.h"

namespace platform {
namespace {

constexpr u32 kDefaultCodePage = 1252;
u32 s_selected = 0;

}  // namespace

u32 system_code_page() { return s_selected ? s_selected : kDefaultCodePage; }

bool select_system_code_page_for_tests(u32 code_page)
{
    s_selected = code_page;
    return true;
}

}  // namespace platform

// The system ANSI code page as Windows reports it; tests cannot change it from inside.
#include "platform/system_code_page.h"
#include "platform/win32/windows_api.h"

namespace platform {

u32 system_code_page() { return GetACP(); }

bool select_system_code_page_for_tests(u32) { return false; }

}  // namespace platform

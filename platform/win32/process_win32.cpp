#include "platform/process.h"
#include "platform/win32/windows_api.h"

#include <cstdio>

namespace platform {

std::uint32_t current_process_id() { return static_cast<std::uint32_t>(GetCurrentProcessId()); }

void exit_process(int code)
{
    std::fflush(nullptr);
    ExitProcess(static_cast<UINT>(code));
}

void fatal_exit(const char* text)
{
    FatalAppExitW(0, win32::widen(text).c_str());
    ExitProcess(0);
}

}  // namespace platform

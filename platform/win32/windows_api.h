// The one place that includes <windows.h>, with the settings the runtime relies on.
#pragma once

#ifndef STRICT
#define STRICT
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

namespace platform::win32 {

// UTF-8 to UTF-16 for crossing into the wide Win32 functions.
std::wstring widen(const char* utf8);

}  // namespace platform::win32

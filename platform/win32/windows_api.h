// The one place that includes <windows.h>, with the settings the runtime relies on, and the
// small helpers every Win32 caller shares.
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
#include <string_view>

namespace platform::win32 {

// UTF-8 to UTF-16 for crossing into the wide Win32 functions. The pointer form stops at the
// first zero byte (nil is empty); the view form converts every byte it is given.
std::wstring widen(const char* utf8);
std::wstring widen(std::string_view utf8);
std::u16string widen_u16(std::string_view utf8);

// UTF-16 from the wide Win32 functions back to UTF-8, every unit it is given (a lone surrogate
// becomes what the system makes of it). Empty when the system cannot convert.
std::string narrow(std::wstring_view utf16);
std::string narrow(std::u16string_view utf16);

// Whether the key is down now (GetAsyncKeyState's high bit).
bool key_held(int virtual_key);

// Whether the key was down when the message being handled was sent (GetKeyState's high bit):
// what the modifiers of a key or a click are. On a busy machine the user may have let go of
// Ctrl before its Ctrl+Q is handled, so the state now would make it a plain Q.
bool key_held_at_message(int virtual_key);

}  // namespace platform::win32

// Names a Win32 call that failed, with GetLastError's code and text, on the debug channel, so
// that a window or control that does not appear (under Wine, say) says why.
#pragma once

namespace platform::win32 {

// Reads GetLastError first: call it right after the failed call. `detail` (optional) says
// what the call was for, e.g. the window class.
void note_failed_call(const char* call, const char* detail = nullptr);

}  // namespace platform::win32

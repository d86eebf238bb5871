#include "framework/startup/failed_assertion_dialog.h"

#include "platform/win32/windows_api.h"
#include "runtime/diagnostics/assertion.h"

namespace qv {
namespace {

int message_box(const char* title, const char* text, u32 flags)
{
    return MessageBoxW(nullptr, platform::win32::widen(text).c_str(), platform::win32::widen(title).c_str(), flags);
}

AssertionBoxFunction s_box = &message_box;

// Task-modal and brought to the front: an assertion can fire before any window exists, or
// while the program's windows are behind another program's.
AssertionAnswer ask(const char* text)
{
    const u32 flags = MB_OKCANCEL | MB_ICONERROR | MB_DEFBUTTON2 | MB_TASKMODAL | MB_SETFOREGROUND;
    return s_box("Failed Assertion", text, flags) == IDOK ? AssertionAnswer::Ok : AssertionAnswer::Cancel;
}

}  // namespace

void install_failed_assertion_dialog() { set_assertion_responder(&ask); }

AssertionBoxFunction set_assertion_box_function(AssertionBoxFunction function)
{
    const AssertionBoxFunction previous = s_box;
    s_box = function ? function : &message_box;
    return previous;
}

}  // namespace qv

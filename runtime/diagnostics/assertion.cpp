// Failed-assertion dialog: formats the report and asks the platform (or a test) for OK/Cancel.
#include "runtime/diagnostics/assertion.h"

#include <cstdio>

#include "platform/message_box.h"
#include "platform/process.h"

namespace qv {
namespace {

AssertionResponder s_responder = nullptr;

}  // namespace

AssertionResponder set_assertion_responder(AssertionResponder responder)
{
    AssertionResponder previous = s_responder;
    s_responder = responder;
    return previous;
}

void format_failed_assertion(char (&out)[1024], i32 number, const char* source, i32 line, const char* condition,
                             const char* message)
{
    std::snprintf(out, sizeof out,
                  "Failed Assertion: %d\nPress OK to Continue\nPress Cancel to Quit.\n\n"
                  "Please report what caused this error\nalong with the information below.\n\n"
                  "%s: %d\nFailure Condition: %s\n%s",
                  static_cast<int>(static_cast<i16>(number)), source ? source : "", static_cast<int>(line),
                  condition ? condition : "", message ? message : "");
}

}  // namespace qv

extern "C" void ReportFailedAssertion(i32, i32 number, const char* source, i32 line, const char* condition,
                                      const char* message)
{
    char text[1024];
    qv::format_failed_assertion(text, number, source, line, condition, message);
    bool ok;
    if (qv::s_responder)
        ok = qv::s_responder(text) == qv::AssertionAnswer::Ok;
    else
        ok = platform::ask_ok_cancel("Failed Assertion", text, platform::MessageIcon::Error,
                                     platform::DefaultButton::Second);
    if (!ok) {
        platform::exit_process(0);
        platform::fatal_exit("Gentle Shutdown Failed.  Attempting Forced Shutdown.");
    }
}

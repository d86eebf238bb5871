// What becomes of a runtime exception that escaped to the unhandled-exception path, and the
// message that reports one the application did not handle.
#pragma once

#include <string>
#include <string_view>

namespace qv {

enum class UnhandledExceptionAction {
    None,                 // handled by the application, or the program is already quitting
    CloseWindowsQuietly,  // an EndException: the quiet quit
    ShowMessage,          // unhandled_exception_message with the class name
};

struct UnhandledExceptionOutcome {
    UnhandledExceptionAction action = UnhandledExceptionAction::None;
    bool set_quit = false;  // the quit flag is set after the action
};

// Whether the application's UnhandledException event is offered the exception: every one
// except an EndException.
bool offer_to_application(bool is_end_exception);

// `application_handled` is what the application's UnhandledException returned (false when it
// has none); it does not count for an EndException, which is never offered. A second
// exception while the quit flag is already set is not reported again.
UnhandledExceptionOutcome decide_unhandled_exception(bool is_end_exception, bool application_handled,
                                                     bool quit_flag_set);

// "An exception of class <name> was not handled.\r\nThe application must shut down."
std::string unhandled_exception_message(std::string_view class_name);

}  // namespace qv

#include "framework/unhandled_exception_decision.h"

namespace qv {

bool offer_to_application(bool is_end_exception) { return !is_end_exception; }

UnhandledExceptionOutcome decide_unhandled_exception(bool is_end_exception, bool application_handled,
                                                     bool quit_flag_set)
{
    const bool handled = offer_to_application(is_end_exception) && application_handled;
    if (handled || quit_flag_set)
        return {};
    return {is_end_exception ? UnhandledExceptionAction::CloseWindowsQuietly : UnhandledExceptionAction::ShowMessage,
            true};
}

std::string unhandled_exception_message(std::string_view class_name)
{
    // The name goes in as it is: a "%1" inside it is not expanded again.
    std::string message = "An exception of class ";
    message += class_name;
    message += " was not handled.\r\nThe application must shut down.";
    return message;
}

}  // namespace qv

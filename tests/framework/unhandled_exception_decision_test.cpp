// The unhandled-exception path: who is offered the exception, what follows, and the message.
#include <gtest/gtest.h>

#include <string>

#include "framework/unhandled_exception_decision.h"

namespace {

using namespace qv;
using Action = UnhandledExceptionAction;

TEST(UnhandledException, EveryExceptionButEndIsOfferedToTheApplication)
{
    EXPECT_TRUE(offer_to_application(false));
    EXPECT_FALSE(offer_to_application(true));
}

TEST(UnhandledException, Outcomes)
{
    const struct {
        const char* what;
        bool end, handled, quit;
        Action action;
        bool set_quit;
    } cases[] = {
        {"handled: the application runs on", false, true, false, Action::None, false},
        {"not handled: message, then quit", false, false, false, Action::ShowMessage, true},
        {"second exception while quitting: no second message", false, false, true, Action::None, false},
        {"handled while quitting", false, true, true, Action::None, false},
        {"EndException: quiet close", true, false, false, Action::CloseWindowsQuietly, true},
        {"EndException is never offered, so a true answer does not count", true, true, false,
         Action::CloseWindowsQuietly, true},
        {"EndException while quitting", true, false, true, Action::None, false},
    };
    for (const auto& c : cases) {
        const auto outcome = decide_unhandled_exception(c.end, c.handled, c.quit);
        EXPECT_EQ(outcome.action, c.action) << c.what;
        EXPECT_EQ(outcome.set_quit, c.set_quit) << c.what;
    }
}

TEST(UnhandledException, MessageNamesTheClass)
{
    EXPECT_EQ(unhandled_exception_message("NilObjectException"),
              "An exception of class NilObjectException was not handled.\r\nThe application must shut down.");
    EXPECT_EQ(unhandled_exception_message("My%1Error"),
              "An exception of class My%1Error was not handled.\r\nThe application must shut down.");
    EXPECT_EQ(unhandled_exception_message(""),
              "An exception of class  was not handled.\r\nThe application must shut down.");
}

}  // namespace

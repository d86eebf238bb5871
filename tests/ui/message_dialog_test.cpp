// The message dialog's answers for the native box's results.
#include <gtest/gtest.h>

#include "tests/support/assertion_capture.h"
#include "ui/dialogs/message_dialog.h"

namespace qv::ui {
namespace {

TEST(MessageDialog, ResultsMapToTheDialogsButtons)
{
    EXPECT_EQ(dialog_button_for_result(1), DialogButton::Action);     // IDOK
    EXPECT_EQ(dialog_button_for_result(6), DialogButton::Action);     // IDYES
    EXPECT_EQ(dialog_button_for_result(2), DialogButton::Cancel);     // IDCANCEL
    EXPECT_EQ(dialog_button_for_result(7), DialogButton::Alternate);  // IDNO
}

TEST(MessageDialog, AnyOtherResultIsAFailedAssertionNamingIt)
{
    for (i32 result : {0, 3, 5}) {
        test::AssertionCapture capture;
        dialog_button_for_result(result);
        ASSERT_EQ(capture.count(), 1u) << result;
        EXPECT_NE(capture.reports()[0].find("Unknown button pressed: (" + std::to_string(result) + ")"),
                  std::string::npos)
            << capture.reports()[0];
    }
}

}  // namespace
}  // namespace qv::ui

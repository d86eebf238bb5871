#include "ui/dialogs/message_dialog.h"

#include <cstdio>

#include "runtime/diagnostics/assertion.h"

namespace qv::ui {
namespace {

// The native box's results (winuser.h), which the portable build has no header for.
constexpr i32 kIdOk = 1;
constexpr i32 kIdCancel = 2;
constexpr i32 kIdYes = 6;
constexpr i32 kIdNo = 7;

}  // namespace

DialogButton dialog_button_for_result(i32 result)
{
    switch (result) {
    case kIdOk:
    case kIdYes: return DialogButton::Action;
    case kIdCancel: return DialogButton::Cancel;
    case kIdNo: return DialogButton::Alternate;
    default: break;
    }
    char message[64];
    std::snprintf(message, sizeof message, "Unknown button pressed: (%d)", static_cast<int>(result));
    assertion_failed("MessageDialog", 0, "false", message);
    return DialogButton::Cancel;
}

}  // namespace qv::ui

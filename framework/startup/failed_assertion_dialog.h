// The failed-assertion dialog as the Windows program shows it: a task-modal message box titled
// "Failed Assertion" with OK and Cancel, the error icon and Cancel as the default button. It
// answers ReportFailedAssertion through the assertion responder, which ends the process with
// exit code 0 on Cancel.
#pragma once

#include "core/types.h"

namespace qv {

// Makes the dialog the assertion responder (tests that install their own replace it).
void install_failed_assertion_dialog();

// Test seam: what shows the box. Gets the title, the text (UTF-8) and the MessageBox flags,
// returns the button chosen (IDOK, IDCANCEL). Null restores MessageBoxW; returns the previous.
using AssertionBoxFunction = int (*)(const char* title, const char* text, u32 flags);
AssertionBoxFunction set_assertion_box_function(AssertionBoxFunction function);

}  // namespace qv

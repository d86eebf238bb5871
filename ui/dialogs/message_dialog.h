// The message dialog's answer: which of its buttons the native box's result stands for.
#pragma once

#include "core/types.h"

namespace qv::ui {

enum class DialogButton : i32 { Cancel = 0, Action = 1, Alternate = 3 };

// IDOK and IDYES are the action button, IDCANCEL cancel, IDNO the alternate action. Any other
// result is a failed assertion ("Unknown button pressed: (N)") and counts as cancel.
DialogButton dialog_button_for_result(i32 result);

}  // namespace qv::ui

// The event loop: RuntimeRun's loop, one iteration of it (also run by modal windows), and
// the current message record the rest of the runtime reads.
#pragma once

#include "platform/win32/windows_api.h"

namespace qv {

// Iterations, each under RunGuarded, until the quit flag is set; then every remaining
// runtime window is closed.
void run_event_loop();
// One iteration, guarded.
void run_guarded_loop_iteration();

// Every message that reaches the pre-translation or a runtime window procedure is copied
// here first.
const MSG& current_message();
void record_current_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// The MDI client when the program runs in MDI mode, else null (for TranslateMDISysAccel).
void set_mdi_client(HWND client);
HWND mdi_client();

// True while the Escape key was down at the last sample; every iteration clears it.
bool user_cancelled();
void sample_user_cancelled();

}  // namespace qv

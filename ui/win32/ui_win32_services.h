// The Win32 side of the clipboard and of RuntimeMsgBox, which the Windows runtime installs at
// start-up.
#pragma once

namespace qv::ui {

// The real clipboard behind the Clipboard class.
void install_win32_clipboard();
// RuntimeMsgBox's boxes with their owner window and its title as caption.
void install_message_box_presenter();

// Both, and has start_framework_runtime register the classes of ui_service_routines.h; call
// before the start-up, as WinMain does.
void register_ui_win32_services();

}  // namespace qv::ui

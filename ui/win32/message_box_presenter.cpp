// RuntimeMsgBox's box under Windows: owned by the window the window layer names, with that
// window's title as its caption; ownerless (and then task-modal) before any window is up.
#include "platform/message_box.h"
#include "platform/win32/windows_api.h"
#include "runtime/exports/message_box_text.h"
#include "ui/dialogs/message_dialog.h"
#include "ui/win32/ui_win32_services.h"

namespace qv::ui {
namespace {

std::wstring window_title(HWND window)
{
    if (!window)
        return {};
    std::wstring title(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    title.resize(static_cast<size_t>(GetWindowTextW(window, title.data(), static_cast<int>(title.size()))));
    return title;
}

void present(const char* text)
{
    if (platform::deliver_to_message_sink("", text))
        return;
    HWND owner = static_cast<HWND>(platform::message_owner());
    const std::wstring caption = window_title(owner);
    // A control tracking the mouse is told (WM_CAPTURECHANGED) and lets go, so the box gets it.
    if (GetCapture())
        ReleaseCapture();
    const UINT flags = MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | (owner ? MB_APPLMODAL : MB_TASKMODAL);
    dialog_button_for_result(MessageBoxW(owner, platform::win32::widen(text).c_str(), caption.c_str(), flags));
}

}  // namespace

void install_message_box_presenter() { set_message_box_presenter(&present); }

}  // namespace qv::ui

// A real MessageBox: owned by the window the window layer names, or by none before the first
// window exists (then task-modal, so that it still blocks the whole program).
#include "platform/message_box.h"
#include "platform/win32/windows_api.h"

namespace platform {

namespace {

HWND owner_and_modality(UINT& flags)
{
    HWND owner = static_cast<HWND>(message_owner());
    flags |= owner ? MB_APPLMODAL : MB_TASKMODAL;
    return owner;
}

}  // namespace

bool ask_ok_cancel(const char* title, const char* text, MessageIcon icon, DefaultButton def)
{
    UINT flags = MB_OKCANCEL | MB_SETFOREGROUND;
    switch (icon) {
    case MessageIcon::Error: flags |= MB_ICONERROR; break;
    case MessageIcon::Warning: flags |= MB_ICONWARNING; break;
    case MessageIcon::Information: flags |= MB_ICONINFORMATION; break;
    case MessageIcon::None: break;
    }
    if (def == DefaultButton::Second)
        flags |= MB_DEFBUTTON2;
    HWND owner = owner_and_modality(flags);
    return MessageBoxW(owner, win32::widen(text).c_str(), win32::widen(title).c_str(), flags) == IDOK;
}

namespace {

void show_with_icon(const char* title, const char* text, UINT icon)
{
    if (deliver_to_message_sink(title, text))
        return;
    UINT flags = MB_OK | icon | MB_SETFOREGROUND;
    HWND owner = owner_and_modality(flags);
    MessageBoxW(owner, win32::widen(text).c_str(), win32::widen(title).c_str(), flags);
}

}  // namespace

void show_message(const char* title, const char* text) { show_with_icon(title, text, MB_ICONINFORMATION); }
void show_warning(const char* title, const char* text) { show_with_icon(title, text, MB_ICONWARNING); }

}  // namespace platform

// A real MessageBox, owned by no window, so it works before the first window exists.
#include "platform/message_box.h"
#include "platform/win32/windows_api.h"

namespace platform {

bool ask_ok_cancel(const char* title, const char* text, MessageIcon icon, DefaultButton def)
{
    UINT flags = MB_OKCANCEL | MB_TASKMODAL | MB_SETFOREGROUND;
    switch (icon) {
    case MessageIcon::Error: flags |= MB_ICONERROR; break;
    case MessageIcon::Warning: flags |= MB_ICONWARNING; break;
    case MessageIcon::Information: flags |= MB_ICONINFORMATION; break;
    case MessageIcon::None: break;
    }
    if (def == DefaultButton::Second)
        flags |= MB_DEFBUTTON2;
    return MessageBoxW(nullptr, win32::widen(text).c_str(), win32::widen(title).c_str(), flags) == IDOK;
}

void show_message(const char* title, const char* text)
{
    if (deliver_to_message_sink(title, text))
        return;
    MessageBoxW(nullptr, win32::widen(text).c_str(), win32::widen(title).c_str(),
                MB_OK | MB_ICONINFORMATION | MB_TASKMODAL | MB_SETFOREGROUND);
}

}  // namespace platform

// The real system clipboard for the Clipboard class: global memory blocks handed to and read
// from the Win32 clipboard.
#include <cstring>

#include "platform/win32/windows_api.h"
#include "ui/clipboard/system_clipboard.h"
#include "ui/win32/ui_win32_services.h"

namespace qv::ui {
namespace {

class Win32Clipboard final : public SystemClipboard {
public:
    bool wide_text() const override { return (GetVersion() & 0x80000000u) == 0; }
    bool open() override { return OpenClipboard(nullptr) != 0; }
    void close() override { CloseClipboard(); }
    void empty() override { EmptyClipboard(); }
    bool available(u32 format) override { return IsClipboardFormatAvailable(format) != 0; }

    u32 register_format(std::span<const u8> name) override
    {
        if (name.empty() || name.back() != 0)
            return 0;
        return RegisterClipboardFormatA(reinterpret_cast<const char*>(name.data()));
    }

    void put(u32 format, std::span<const u8> block) override
    {
        HGLOBAL memory = GlobalAlloc(GMEM_DDESHARE | GMEM_MOVEABLE, block.size());
        if (!memory)
            return;
        if (void* bytes = GlobalLock(memory)) {
            std::memcpy(bytes, block.data(), block.size());
            GlobalUnlock(memory);
            if (SetClipboardData(format, memory))
                return;  // the clipboard owns the block now
        }
        GlobalFree(memory);
    }

    bool get(u32 format, std::vector<u8>& block) override
    {
        HANDLE memory = GetClipboardData(format);
        if (!memory)
            return false;
        const auto* bytes = static_cast<const u8*>(GlobalLock(memory));
        if (!bytes)
            return false;
        block.assign(bytes, bytes + GlobalSize(memory));
        GlobalUnlock(memory);
        return true;
    }
};

}  // namespace

void install_win32_clipboard()
{
    static Win32Clipboard s_clipboard;
    set_system_clipboard(&s_clipboard);
}

}  // namespace qv::ui

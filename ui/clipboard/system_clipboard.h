// The system clipboard as the Clipboard class uses it: the few Win32 clipboard calls, behind an
// interface so that the class's rules (when it opens, empties and closes, how text is encoded)
// are portable and tested natively. The Windows build installs the real clipboard; without
// one every open fails, as with a clipboard another program holds.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "core/types.h"

namespace qv::ui {

// The standard formats the class uses (CF_TEXT, CF_DIB, CF_UNICODETEXT).
inline constexpr u32 kClipboardText = 1;
inline constexpr u32 kClipboardDib = 8;
inline constexpr u32 kClipboardUnicodeText = 13;

class SystemClipboard {
public:
    virtual ~SystemClipboard() = default;

    // Windows NT: text travels as UTF-16 (CF_UNICODETEXT); elsewhere in the ANSI code page.
    virtual bool wide_text() const = 0;
    // OpenClipboard with no owner window; CloseClipboard; EmptyClipboard.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual void empty() = 0;
    virtual bool available(u32 format) = 0;
    // RegisterClipboardFormatA: the name in the ANSI code page with its terminating zero; 0 on
    // failure.
    virtual u32 register_format(std::span<const u8> name) = 0;
    // Puts a copy of the block (terminator included) on the clipboard under the format.
    virtual void put(u32 format, std::span<const u8> block) = 0;
    // The whole block under the format; false when there is none.
    virtual bool get(u32 format, std::vector<u8>& block) = 0;
};

// Installs the clipboard the class uses (null: none). Returns the previous one.
SystemClipboard* set_system_clipboard(SystemClipboard* clipboard);
// The installed one, or null.
SystemClipboard* system_clipboard();

// Paste into an edit field, outside any Clipboard object: each opens the installed clipboard
// and closes it again. Whether it offers text (CF_TEXT, which the system also makes from
// Unicode text), and its Unicode text up to the first zero unit; false and empty when it
// cannot be opened.
bool system_clipboard_has_text();
std::u16string system_clipboard_unicode_text();

}  // namespace qv::ui

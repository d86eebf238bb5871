// Win32 fonts, shared by the whole process: native controls and drawing ports with the same
// font description use one font, which is deleted when the last of them lets go of it.
#pragma once

#include <string>

#include "platform/win32/windows_api.h"

#include "core/types.h"
#include "runtime/strings/string_ref.h"
#include "ui/counted_handle.h"

namespace qv::ui {

struct FontDescription {
    std::wstring name;  // UTF-16: a face name is text, whatever character set the font has
    i32 size = 0;       // pixels; 0 stands for 12
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// The font a control gets when its record names none: start-up's default control font.
inline constexpr const wchar_t* kDefaultControlFontName = L"System";
inline constexpr i32 kDefaultControlFontSize = 10;

// A control's font description from its font record: a control without a TextFont gets the
// default control font (and its size, unless it sets one).
FontDescription control_font(const StringRef& name, i32 size, bool bold, bool italic, bool underline);

// The face name Win32 is asked for: the classic names map to the fonts that stand in for them.
std::wstring face_name_for(const std::wstring& name);
// The character set fonts are made in for a user language (GetUserDefaultLangID).
u8 charset_for_language(u16 language);

// One user less; the last one deletes the font. FontRef calls it.
void release_font(HFONT font);
// A user's count on a cached font.
using FontRef = CountedHandle<HFONT, &release_font>;

// A font for the description, one more user counted; null when Win32 makes none.
FontRef acquire_font(const FontDescription& description);
// Fonts in the cache (for tests).
i32 cached_font_count();

}  // namespace qv::ui

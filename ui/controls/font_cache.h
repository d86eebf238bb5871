// Win32 fonts for native controls, shared: controls with the same font description use one
// font, which is deleted when the last of them lets go of it.
#pragma once

#include <string>

#include "platform/win32/windows_api.h"

#include "core/types.h"
#include "ui/counted_handle.h"

namespace qv::ui {

struct FontDescription {
    std::string name;  // as the image gives it (bytes passed unchanged)
    i32 size = 0;      // 0 stands for 12
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// The face name Win32 is asked for: the classic names map to the fonts that stand in for them.
std::string face_name_for(const std::string& name);
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

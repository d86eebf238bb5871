// GDI fonts shared between ports: one HFONT per description, counted, deleted when its last
// user lets go. Font names are mapped the way image code expects: "System", "SmallSystem"
// and the empty name are the system's message font, size 0 is 12 points.
#pragma once

#include <string>

#include "platform/win32/windows_api.h"

#include "core/types.h"
#include "ui/counted_handle.h"

namespace qv::graphics {

struct FontDescription {
    std::wstring name;
    i32 points = 0;
    u32 style = 0;  // kStyleBold, kStyleItalic, kStyleUnderline
};

// Gives one count back; the last deletes the font. FontRef calls it.
void release_font(HFONT font);
// A user's count on a cached font.
using FontRef = ui::CountedHandle<HFONT, &release_font>;

// A font for the description with one count; null if GDI cannot make one. `dc` gives the
// resolution that points are converted with.
FontRef acquire_font(const FontDescription& description, HDC dc);

// Fonts the cache holds now; for tests.
i32 cached_font_count();

}  // namespace qv::graphics

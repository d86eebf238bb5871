#include "ui/controls/font_cache.h"

#include <list>

#include "ui/controls/wide_text.h"

namespace qv::ui {
namespace {

struct CachedFont {
    FontDescription description;  // a copy of its own
    HFONT font;
    i32 users;
};

std::list<CachedFont>& cache()
{
    static std::list<CachedFont> s_cache;
    return s_cache;
}

bool equal_names(const std::wstring& a, const std::wstring& b) { return lstrcmpiW(a.c_str(), b.c_str()) == 0; }

bool same(const FontDescription& a, const FontDescription& b)
{
    return equal_names(a.name, b.name) && a.size == b.size && a.bold == b.bold && a.italic == b.italic &&
        a.underline == b.underline;
}

}  // namespace

FontDescription control_font(const StringRef& name, i32 size, bool bold, bool italic, bool underline)
{
    FontDescription description{wide_text(name), size, bold, italic, underline};
    if (description.name.empty()) {
        description.name = kDefaultControlFontName;
        if (description.size == 0)
            description.size = kDefaultControlFontSize;
    }
    return description;
}

std::wstring face_name_for(const std::wstring& name)
{
    static const struct {
        const wchar_t* name;
        const wchar_t* face;
    } kFaces[] = {
        {L"System", L"MS Sans Serif"},      {L"Application", L"MS Sans Serif"}, {L"Geneva", L"MS Sans Serif"},
        {L"SmallSystem", L"MS Sans Serif"}, {L"Courier", L"Courier New"},       {L"Times", L"Times New Roman"},
        {L"Helvetica", L"Arial"},           {L"Osaka", L"MS UI Gothic"},
    };
    for (const auto& entry : kFaces) {
        if (equal_names(name, entry.name))
            return entry.face;
    }
    return name;
}

u8 charset_for_language(u16 language)
{
    switch (language) {
    case 0x411: return SHIFTJIS_CHARSET;
    case 0x404:
    case 0x804:
    case 0xC04:
    case 0x1004: return CHINESEBIG5_CHARSET;
    default: return DEFAULT_CHARSET;
    }
}

FontRef acquire_font(const FontDescription& description)
{
    for (auto it = cache().begin(); it != cache().end(); ++it) {
        if (same(it->description, description)) {
            ++it->users;
            return FontRef(it->font);
        }
    }
    static const u8 s_charset = charset_for_language(GetUserDefaultLangID());
    const i32 size = description.size ? description.size : 12;
    // The wide form whatever the character set: face names such as "ＭＳ Ｐゴシック" are text,
    // which the ANSI form would get as bytes of the wrong code page.
    const std::wstring face = face_name_for(description.name);
    HFONT font = CreateFontW(-size, 0, 0, 0, description.bold ? FW_BOLD : FW_NORMAL, description.italic,
                             description.underline, FALSE, s_charset, 0, 0, 0, 0, face.c_str());
    if (!font)
        return FontRef();
    cache().push_front(CachedFont{description, font, 1});
    return FontRef(font);
}

void release_font(HFONT font)
{
    for (auto it = cache().begin(); it != cache().end(); ++it) {
        if (it->font == font) {
            if (--it->users <= 0) {
                DeleteObject(it->font);
                cache().erase(it);
            }
            return;
        }
    }
}

i32 cached_font_count() { return static_cast<i32>(cache().size()); }

}  // namespace qv::ui

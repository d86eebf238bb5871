// The process's cache of GDI fonts, keyed by face, height, style and character set.
#include "graphics/font_cache.h"

#include <vector>

#include "framework/script_codes.h"
#include "framework/startup/windows_startup.h"
#include "graphics/graphics_port.h"

namespace qv::graphics {
namespace {

struct CachedFont {
    LOGFONTW key;
    HFONT font;
    i32 count;
};

std::vector<CachedFont>& fonts()
{
    static std::vector<CachedFont> s_fonts;
    return s_fonts;
}

bool same_key(const LOGFONTW& a, const LOGFONTW& b)
{
    return a.lfHeight == b.lfHeight && a.lfWeight == b.lfWeight && a.lfItalic == b.lfItalic &&
        a.lfUnderline == b.lfUnderline && a.lfCharSet == b.lfCharSet && lstrcmpiW(a.lfFaceName, b.lfFaceName) == 0;
}

std::wstring message_font_face()
{
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return metrics.lfMessageFont.lfFaceName;
    return L"MS Shell Dlg";
}

std::wstring mapped_face(const std::wstring& name)
{
    if (name.empty() || lstrcmpiW(name.c_str(), L"System") == 0 || lstrcmpiW(name.c_str(), L"SmallSystem") == 0)
        return message_font_face();
    return name;
}

LOGFONTW font_key(const FontDescription& description, HDC dc)
{
    LOGFONTW key{};
    const i32 points = description.points ? description.points : 12;
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    key.lfHeight = -MulDiv(points, dpi ? dpi : 96, 72);
    key.lfWeight = (description.style & kStyleBold) ? FW_BOLD : FW_NORMAL;
    key.lfItalic = (description.style & kStyleItalic) ? TRUE : FALSE;
    key.lfUnderline = (description.style & kStyleUnderline) ? TRUE : FALSE;
    key.lfCharSet = static_cast<BYTE>(font_charset_for_script(script_code()));
    key.lfOutPrecision = OUT_DEFAULT_PRECIS;
    key.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    key.lfQuality = DEFAULT_QUALITY;
    key.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    const std::wstring face = mapped_face(description.name);
    lstrcpynW(key.lfFaceName, face.c_str(), LF_FACESIZE);
    return key;
}

}  // namespace

FontRef acquire_font(const FontDescription& description, HDC dc)
{
    const LOGFONTW key = font_key(description, dc);
    for (CachedFont& cached : fonts()) {
        if (same_key(cached.key, key)) {
            ++cached.count;
            return FontRef(cached.font);
        }
    }
    HFONT font = CreateFontIndirectW(&key);
    if (font)
        fonts().push_back({key, font, 1});
    return FontRef(font);
}

void release_font(HFONT font)
{
    auto& list = fonts();
    for (auto it = list.begin(); it != list.end(); ++it) {
        if (it->font == font) {
            if (--it->count == 0) {
                DeleteObject(it->font);
                list.erase(it);
            }
            return;
        }
    }
}

i32 cached_font_count() { return static_cast<i32>(fonts().size()); }

}  // namespace qv::graphics

// Text-encoding tags and the code pages they stand for. Tags follow the Mac OS Text Encoding
// Converter: a base in the low 16 bits and, for Unicode, a format in bits 26 and up (UTF-8 is
// base 0x0100, format 2). Code pages are the Windows numbers, plus two pseudo pages for the
// Japanese encodings the Windows conversions lack, which the runtime converts itself.
#pragma once

#include "core/types.h"
#include "sdk/quaver.h"

namespace qv {

inline constexpr u32 kEncodingUnknown = QV_ENCODING_UNKNOWN;
inline constexpr u32 kEncodingASCII = QV_ENCODING_ASCII;
inline constexpr u32 kEncodingUTF16 = QV_ENCODING_UTF16;
inline constexpr u32 kEncodingUTF8 = QV_ENCODING_UTF8;

inline bool is_unicode_base(u32 tag) { return tag >= 0x0100 && tag <= 0x01FF; }

inline constexpr u32 kEncodingISO2022JP = 2080;
inline constexpr u32 kEncodingEUCJP = 2336;
inline constexpr u32 kEncodingShiftJIS = 2561;
inline constexpr u32 kEncodingWindowsLatin1 = 1280;
inline constexpr u32 kEncodingDOSChineseTrad = 1059;

inline constexpr u32 kCodePageEUCJP = 900000;      // pseudo page
inline constexpr u32 kCodePageISO2022JP = 900001;  // pseudo page
inline constexpr u32 kCodePageShiftJIS = 932;
inline constexpr u32 kCodePageUTF16 = 1200;
inline constexpr u32 kCodePageUTF7 = 65000;
inline constexpr u32 kCodePageUTF8 = 65001;

// The code page of a tag, or 0 when it has none.
u32 code_page_of_tag(u32 tag);

// True for the pseudo pages, 65001, 1200 (the runtime's own UTF-16), and the code pages the
// platform reports as valid.
bool is_usable_code_page(u32 code_page);

// The Japanese code pages: Shift-JIS and the two pseudo pages.
inline bool is_japanese_code_page(u32 code_page)
{
    return code_page == kCodePageShiftJIS || code_page == kCodePageEUCJP || code_page == kCodePageISO2022JP;
}

}  // namespace qv

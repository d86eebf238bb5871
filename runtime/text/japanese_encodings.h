// The Japanese conversions the runtime makes itself: Shift-JIS to and from EUC-JP and
// ISO-2022-JP (the same JIS X 0208 codes in three byte forms), and the guess at which of the
// three a text is in.
#pragma once

#include <vector>

#include "core/types.h"

namespace qv {

std::vector<u8> shift_jis_to_euc_jp(const u8* text, i32 length);
std::vector<u8> shift_jis_to_iso2022_jp(const u8* text, i32 length);
std::vector<u8> euc_jp_to_shift_jis(const u8* text, i32 length);
std::vector<u8> iso2022_jp_to_shift_jis(const u8* text, i32 length);

// The tag of the encoding the text appears to be in (kEncodingISO2022JP, kEncodingEUCJP or
// kEncodingShiftJIS), or 0 when the text ends before the guess is decided.
u32 guess_japanese_encoding(const u8* text, i32 length);

}  // namespace qv

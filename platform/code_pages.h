// Code-page conversion between byte text and UTF-16 (the platform's wide characters), and the
// user's language. Windows answers with its own services (MultiByteToWideChar,
// WideCharToMultiByte, IsValidCodePage, GetUserDefaultLangID). Linux converts with iconv under
// the names glibc gives the Windows code pages, and corrects the few mappings where glibc and
// the Windows code pages 932 and 1252 part (see posix/code_pages_posix.cpp).
#pragma once

#include <vector>

#include "core/types.h"

namespace platform {

// UTF-16 (little-endian wide characters) and UTF-8 are converted by the portable runtime,
// which treats them the same way on every platform; these functions refuse them.
inline constexpr u32 kCodePageUTF16 = 1200;
inline constexpr u32 kCodePageUTF8 = 65001;

// True when the code page can be converted in both directions.
bool is_valid_code_page(u32 code_page);

// Decodes `length` bytes of text in the code page. Bytes that form no character are replaced
// as Windows replaces them (flags 0: no failure for bad input). False, with `out` empty, when
// the code page cannot be used.
bool decode_code_page(u32 code_page, const u8* bytes, i32 length, std::vector<u16>& out);

// Encodes `count` UTF-16 units into the code page. Characters the code page lacks become its
// default character "?" (Windows may first try a "best fit" look-alike; Linux does not). False,
// with `out` empty, when the code page cannot be used.
bool encode_code_page(u32 code_page, const u16* units, i32 count, std::vector<u8>& out);

// The user's default language identifier: GetUserDefaultLangID on Windows. Linux has no such
// setting; it reports the language that goes with the system code page of system_code_page.h
// (Japanese 0x0411 for 932, Chinese 0x0804 for 936 and 0x0404 for 950, Korean 0x0412 for 949,
// else English 0x0409), so the test seam that selects 932 makes the system Japanese.
u16 user_default_language();

}  // namespace platform

// Comparing text in the system default locale, for strings in a code-page encoding.
#pragma once

#include "core/types.h"

namespace platform {

enum class LocaleOrder { Less, Equal, Greater, Failed };
enum class CaseMode { Sensitive, Ignore };

// Compares two texts in the system ANSI code page. On Windows they are widened and compared
// with the system locale; elsewhere the code page is taken as Latin-1 and the texts are
// collated in the C library's current locale. Texts the locale finds equal are then ordered
// by their length in the units compared (wide characters or bytes), the shorter first.
LocaleOrder compare_in_locale(const u8* a, i32 a_length, const u8* b, i32 b_length, CaseMode mode);

}  // namespace platform

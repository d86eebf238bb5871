// The script code start-up derives from the user's default language, and the font character
// set each script code asks for.
#pragma once

#include "core/types.h"

namespace qv {

// 13 for Japanese (language id 1041), 21 for the Chinese ids 1028, 2052, 3076 and 4100,
// otherwise 0.
i32 script_code_for_language(u32 language_id);

// 13 -> 128, 21 -> 136, 12 -> 177, 14 -> 178, 16 -> 161, 19 -> 162, 24 -> 222, 34 -> 204;
// any other script code -> 1 (the default character set).
u32 font_charset_for_script(i32 script_code);

}  // namespace qv

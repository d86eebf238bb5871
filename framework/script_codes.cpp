#include "framework/script_codes.h"

namespace qv {

i32 script_code_for_language(u32 language_id)
{
    switch (language_id) {
    case 1041: return 13;
    case 1028:
    case 2052:
    case 3076:
    case 4100: return 21;
    default: return 0;
    }
}

u32 font_charset_for_script(i32 script_code)
{
    switch (script_code) {
    case 13: return 128;
    case 21: return 136;
    case 12: return 177;
    case 14: return 178;
    case 16: return 161;
    case 19: return 162;
    case 24: return 222;
    case 34: return 204;
    default: return 1;
    }
}

}  // namespace qv

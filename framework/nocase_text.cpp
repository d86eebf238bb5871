#include "framework/nocase_text.h"

#include "runtime/strings/string_compare.h"

namespace qv {

bool equal_nocase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upper_case_byte(static_cast<u8>(a[i])) != upper_case_byte(static_cast<u8>(b[i])))
            return false;
    return true;
}

}  // namespace qv

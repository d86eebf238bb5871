// Byte-string equality ignoring case, by the runtime's own case rule for names
// (upper_case_byte), so shortcut texts and command-key fields fold as registry names do.
#pragma once

#include <string_view>

namespace qv {

bool equal_nocase(std::string_view a, std::string_view b);

}  // namespace qv

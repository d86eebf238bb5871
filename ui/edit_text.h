// Text rules of edit fields that need no window: the line ends the runtime sees, and the
// masked copy a password field shows.
#pragma once

#include <string>
#include <string_view>

#include "core/types.h"

namespace qv::ui {

// Inside the runtime a line ends with a lone CR, whatever the native control stores: CR LF
// and a lone LF become CR.
void to_runtime_line_ends(std::u16string& text);

// What a password field shows: every unit at or above code 32 becomes "*"; line breaks and
// other control characters stay, so the masked text has the same length and positions.
std::u16string masked_text(std::u16string_view text);

// Replaces `length` units from `start` with `insert`; a range outside the text is cut to it.
void replace_range(std::u16string& text, i32 start, i32 length, std::u16string_view insert);

}  // namespace qv::ui

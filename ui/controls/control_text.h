// Text as the native controls take it: runtime strings to UTF-8 or UTF-16, and UTF-16 back to
// a UTF-8 runtime string.
#pragma once

#include <string>

#include "runtime/strings/string_ref.h"
#include "sdk/quaver.h"

namespace qv::ui {

// Empty for nil.
std::string utf8_of(RuntimeString* text);
std::u16string utf16_of(RuntimeString* text);
std::u16string utf16_of(const StringRef& text);
// A UTF-8 runtime string (never nil: empty text is the empty string).
StringRef utf8_string(const std::u16string& text);

}  // namespace qv::ui

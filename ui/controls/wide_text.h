// Runtime strings as the UTF-16 text the wide GDI functions take.
#pragma once

#include <string>

#include "runtime/strings/string_ref.h"

namespace qv::ui {

// Every character of the text, embedded zeros included; empty for nil.
std::wstring wide_text(const StringRef& text);

}  // namespace qv::ui

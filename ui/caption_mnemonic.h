// The keyboard mnemonic of a caption: "&&" stands for one ampersand; any other "&" marks the
// character after it, and the last one marked wins.
#pragma once

#include <string>
#include <string_view>

namespace qv::ui {

// The shortcut text of the caption's mnemonic ("Alt+" and the character in upper case), or
// empty when it has none. The caption is UTF-8; the marked character may be any character.
std::string mnemonic_shortcut(std::string_view caption);

}  // namespace qv::ui

// A menu item's CommandKey as shortcut text ("Shift-Q" -> "Ctrl+Shift+Q"), and the text its
// native menu entry shows.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// "+" counts as "-"; the fields between the dashes name modifiers, compared ignoring case:
// Shift or Shft, Option, Control or Ctrl or Command, Alt. The last field is the key (an empty
// last field is the "-" key itself). Every menu shortcut requires Ctrl, named or not: the
// result is "Ctrl+", then "Shift+", then "Alt+" (for Alt or Option), then the key. An empty
// command key has no shortcut text.
std::string command_key_shortcut_text(std::string_view command_key);

// Text, then a tab and the shortcut text when there is one.
std::string menu_displayed_text(std::string_view text, std::string_view shortcut_text);

}  // namespace qv

// A debugging aid: when QUAVER_LIVE_OBJECTS names a file, the runtime writes there what is
// still alive once the image's entry has returned and the exit clean-up has run, so that a
// session's leaks can be told from what the application keeps for its whole life.
#pragma once

namespace qv {

// Writes "objects N", one line "CLASS refs R" per live object (sorted), then "strings N"
// for the live string records; does nothing when the variable is unset or empty.
void write_live_object_report();

}  // namespace qv

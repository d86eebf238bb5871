// Registration of the built-in value classes: Date (as far as variants need it), Variant and
// Dictionary.
#pragma once

namespace qv {

// Registers the three definitions (the first call only). Part of the portable start-up.
void register_value_classes();

}  // namespace qv

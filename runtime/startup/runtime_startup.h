// The portable part of the runtime's start-up: what must exist before any image code runs.
#pragma once

namespace qv {

// Registers the foundation's class definitions and raise slots and builds the export
// registry. Safe to call more than once.
void start_portable_runtime();

}  // namespace qv

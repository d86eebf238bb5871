// The runtime's own exported routines: every extern "C" routine it defines for image code,
// listed once (provided_routines.cpp) and bound into the export table by name.
#pragma once

#include <span>

namespace qv {

struct ProvidedRoutine {
    const char* name;
    void* routine;
};

// In list order; the ones whose names the static export table lacks are appended in this order.
std::span<const ProvidedRoutine> provided_routines();

}  // namespace qv

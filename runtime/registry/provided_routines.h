// The runtime's own exported routines: every extern "C" routine it defines for image code,
// listed once (provided_routines.cpp) and bound into the export table by name.
#pragma once

#include <span>
#include <vector>

namespace qv {

struct ProvidedRoutine {
    const char* name;
    void* routine;
};

// One entry of a hand-written list: the routine of that name, under its name.
#define QV_PROVIDED(name) \
    ::qv::ProvidedRoutine { #name, reinterpret_cast < void*>(&name) }

// In list order; the ones whose names the static export table lacks are appended in this order.
std::span<const ProvidedRoutine> provided_routines();

// Routines of the layers above the runtime (the debugger's entry points, each layer's list and
// the routines its classes' tables name), which the runtime cannot name without depending on
// those layers. The program adds them at start-up, before
// anything uses the registry, and the registry binds them as it binds the runtime's own, after
// them in list order. Adding once the registry is built is an assertion and adds nothing.
void add_provided_routines(std::span<const ProvidedRoutine> routines);

// The runtime's own list, then every added one in the order added. The first call, made when
// the registry is built, closes the set.
std::vector<std::span<const ProvidedRoutine>> all_provided_routines();

}  // namespace qv

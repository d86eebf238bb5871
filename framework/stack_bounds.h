// The calling thread's stack bounds as QuavInitStackChecker records them at the start of the
// image's entry and of every thread it starts; thread records read them back.
#pragma once

#include <cstdint>

namespace qv {

struct StackBounds {
    uintptr_t limit;
    uintptr_t top;
};

// Zeros on a thread where nothing was recorded.
StackBounds current_stack_bounds();
void record_stack_bounds(StackBounds bounds);

}  // namespace qv

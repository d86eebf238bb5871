#include "framework/stack_bounds.h"

namespace qv {
namespace {

thread_local StackBounds t_stack{};  // each thread its own: threads set it up as they start

}  // namespace

StackBounds current_stack_bounds() { return t_stack; }

void record_stack_bounds(StackBounds bounds) { t_stack = bounds; }

}  // namespace qv

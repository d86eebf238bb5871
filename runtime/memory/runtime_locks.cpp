#include "runtime/memory/runtime_locks.h"

namespace qv {

// Function-local statics: constructed before the first string is made, whatever the order
// of static initialisation, and never destroyed before late string releases.
std::recursive_mutex& string_lock()
{
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

std::recursive_mutex& allocator_lock()
{
    static auto* lock = new std::recursive_mutex;
    return *lock;
}

}  // namespace qv

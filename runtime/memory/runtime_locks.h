// The runtime's two process-wide re-entrant locks. Whoever needs both takes the string lock
// first and the allocator lock second, never the reverse.
#pragma once

#include <mutex>

namespace qv {

std::recursive_mutex& string_lock();
std::recursive_mutex& allocator_lock();

using LockGuard = std::lock_guard<std::recursive_mutex>;

}  // namespace qv

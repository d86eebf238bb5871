// A millisecond clock for measuring short intervals (time-outs, polling periods).
#pragma once

#include <cstdint>

namespace platform {

// Milliseconds since an arbitrary start; wraps around, so compare differences only.
std::uint32_t tick_count_ms();

}  // namespace platform

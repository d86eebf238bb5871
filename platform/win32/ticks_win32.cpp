#include "platform/ticks.h"

#include "platform/win32/windows_api.h"

namespace platform {

std::uint32_t tick_count_ms() { return static_cast<std::uint32_t>(GetTickCount()); }

}  // namespace platform

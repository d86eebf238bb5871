#include "platform/standard_streams.h"

namespace platform {

void set_binary_standard_streams() { }

}  // namespace platform

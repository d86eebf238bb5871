// Standard input and output as raw bytes.
#pragma once

namespace platform {

// Puts stdin and stdout into binary mode, so that no line ends are translated (Windows);
// nothing to do on POSIX systems.
void set_binary_standard_streams();

}  // namespace platform

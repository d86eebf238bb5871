// Command line of hollerpad-convert.
#pragma once

#include <string>
#include <vector>

#include "core/types.h"

namespace hollerpad {

struct ConvertOptions {
    u32 switches = 0xFF;  // switches 1-8 on, 9 off
    bool clipboard = false;
    bool help = false;
};

struct ParsedOptions {
    ConvertOptions options;
    std::string error;  // empty when the command line was valid
};

ParsedOptions parse_convert_options(const std::vector<std::string>& arguments);

extern const char* const kConvertUsage;

}  // namespace hollerpad

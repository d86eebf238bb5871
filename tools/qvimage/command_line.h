// qvimage's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/result.h"
#include "tools/qvimage/image_builder.h"
#include "tools/qvimage/image_package.h"

namespace qvimage {

struct QvimageOptions {
    std::string object;
    std::string output;          // -o: the packaged image, or with --attach the executable
    std::string split_folder;    // --split: the five segment files
    std::string attach_runtime;  // --attach: the runtime executable to copy
    std::vector<ResourceArgument> resources;
    std::optional<std::string> mdi_title;
    std::string entry = kDefaultEntry;
    bool help = false;
};

// Options take their value as the next argument or after '='; exactly one object file.
qv::Result<QvimageOptions> parse_command_line(const std::vector<std::string>& arguments);

extern const char* const kQvimageUsage;

}  // namespace qvimage

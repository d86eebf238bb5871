// From a parsed object to the image's five segments: code with its entry jump, data, the
// import stream; resources and options are added by the caller.
#pragma once

#include <string>
#include <vector>

#include "core/result.h"
#include "core/types.h"
#include "loader/image_format.h"
#include "tools/qvimage/elf_object.h"

namespace qvimage {

using ApplicationImage = qv::SegmentBytes;

constexpr const char* kDefaultEntry = "ImageEntry";

// The entry is a global function defined in a code section; code offset 0 jumps to it.
qv::Result<ApplicationImage> build_image(const ElfObject& object, const std::string& entry = kDefaultEntry);

}  // namespace qvimage

// Running qvimage: read the object, resources and runtime, build everything in memory, and
// only then write the outputs, so a refused input never leaves a broken image behind.
#pragma once

#include "core/result.h"
#include "tools/qvimage/command_line.h"

namespace qvimage {

qv::Result<void> run_qvimage(const QvimageOptions& options);

}  // namespace qvimage

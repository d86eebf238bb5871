// Indexing the image's resource segment: one WindowsResourceManager entry per record.
#pragma once

#include <span>

#include "core/result.h"
#include "runtime/resources/resource_manager.h"

namespace qv {

// Appends one entry per record of the segment. A record whose header or data runs past the
// end of the segment is refused (nothing of it is indexed).
Result<void> index_resource_segment(WindowsResourceManager& index, std::span<const u8> segment,
                                    u32 segment_file_position);

}  // namespace qv

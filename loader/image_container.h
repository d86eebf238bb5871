// Reading the application image: five segments, either appended to the executable (found
// through its locator) and length-prefixed, or as five separate files in one folder.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/result.h"
#include "core/types.h"
#include "loader/image_format.h"
#include "platform/files.h"

namespace qv {

struct ImageSegments : SegmentBytes {
    u32 resource_file_position = 0;  // where the resource segment lies in its file
};

// Where the image lies, from the executable's 8-byte locator: none, "PICK" or a zero offset
// means separate files; otherwise the image's file offset and the auxiliary block's offset.
struct ImageLocation {
    bool packaged = false;
    u32 image_offset = 0;
    u32 auxiliary_offset = 0;
};
ImageLocation decode_locator(const std::optional<std::array<u8, 8>>& locator);

// The packaged layout at `offset` of the file: u32 code length and code, u32 data length
// and data, u32 import length and stream, i32 resource length and segment, i32 options
// length and stream (the last two absent when not positive). A length that runs past the end
// of the file refuses the image before anything is allocated for it, and one there is no
// memory for refuses it too.
Result<ImageSegments> read_packaged_image(platform::InputFile& file, u32 offset);

// The separate-file layout: import.dat, code.dat, data.dat, rsrc.dat and options.dat in the
// folder (read in that order). A missing or unreadable file refuses the image, naming it.
Result<ImageSegments> read_separate_image(const std::string& folder);

}  // namespace qv

// The runtime executable's image locator: the 8-byte data of its resource of type "PICKLE",
// id 101, found through the PE resource directory, and attaching an image through it.
#pragma once

#include <span>
#include <vector>

#include "core/result.h"
#include "core/types.h"

namespace qvimage {

// The file offset of the locator's 8 bytes in a PE executable.
qv::Result<u32> find_locator_offset(std::span<const u8> executable);

// Sets the locator of `executable` (read into memory, still holding the placeholder) to an
// image of `image_size` bytes that will be appended at its end; the auxiliary block is none.
qv::Result<void> point_locator_at_end(std::span<u8> executable, u64 image_size);

// A copy of the executable with `packaged_image` appended at its end and the locator's first
// word set to the image's file offset, the second to 0 (no auxiliary block). Refuses an
// executable whose locator no longer holds the placeholder, so an image is never attached
// twice.
qv::Result<std::vector<u8>> attach_image(std::span<const u8> executable, std::span<const u8> packaged_image);

}  // namespace qvimage

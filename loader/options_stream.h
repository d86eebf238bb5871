// The image's options stream: tag-0 records switch on MDI mode and carry the frame's title.
#pragma once

#include <span>

#include "core/result.h"
#include "runtime/strings/string_ref.h"

namespace qv {

struct ImageOptions {
    bool mdi = false;
    StringRef mdi_title;  // nil when the record carried no title
};

// Unknown tags are reported as failed assertions and skipped a byte at a time; a record that
// runs past the end of the stream is refused.
Result<ImageOptions> parse_options_stream(std::span<const u8> stream);

}  // namespace qv

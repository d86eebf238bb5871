#include "loader/options_stream.h"

#include "loader/byte_reader.h"
#include "runtime/diagnostics/assertion.h"

namespace qv {

Result<ImageOptions> parse_options_stream(std::span<const u8> stream)
{
    ImageOptions options;
    ByteReader reader(stream);
    while (!reader.at_end()) {
        const size_t record_start = reader.position();
        u8 tag;
        (void)reader.read_u8(tag);
        if (tag != 0) {
            assertion_failed("loaderX86", 379, "0");
            continue;
        }
        i32 length;
        if (!reader.read_i32(length))
            return Error{"options record at offset " + std::to_string(record_start) +
                         " is cut off before its title length"};
        options.mdi = true;
        if (length <= 0)
            continue;
        std::span<const u8> title;
        u32 encoding;
        if (!reader.read_span(static_cast<size_t>(length), title) || !reader.read_u32(encoding))
            return Error{"options record at offset " + std::to_string(record_start) + " declares a " +
                         std::to_string(length) + "-byte title that runs past the end of the stream"};
        options.mdi_title = StringRef::FromBytes(title.data(), static_cast<i32>(title.size()));
        options.mdi_title.set_encoding(encoding);
    }
    return options;
}

}  // namespace qv

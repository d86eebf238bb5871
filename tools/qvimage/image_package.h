// The image's outer forms: resource records, the options stream, the packaged layout of five
// length-prefixed segments, and the five separate segment files.
#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"
#include "core/types.h"
#include "tools/qvimage/image_builder.h"

namespace qvimage {

struct ResourceArgument {
    u32 type = 0;  // four-character code, first character in the top byte
    u16 id = 0;
    std::string file;
};

// "TYPE:ID:FILE": TYPE exactly four bytes (e.g. "BMP "), ID a decimal 0-65535, FILE the rest.
qv::Result<ResourceArgument> parse_resource_argument(std::string_view text);

// Appends one resource record: u32 type (so the code's bytes appear reversed in the file),
// u16 id, u32 reserved 0, u32 length, the data.
qv::Result<void> append_resource(std::vector<u8>& segment, u32 type, u16 id, std::span<const u8> data);

// One tag-0 record switching the application into MDI mode with `title` (UTF-8 when any
// byte is above 0x7F, ASCII otherwise); an empty title writes no text and no encoding.
std::vector<u8> make_mdi_options(std::string_view title);

// u32 code length + code, u32 data length + data, u32 import length + stream, i32 resource
// length + segment, i32 options length + stream.
std::vector<u8> package_image(const ApplicationImage& image);

// The same bytes as package_image, handed to `write` piece by piece (each length word, each
// segment), so that an image can be written without a copy of it; and their total size.
void for_each_packaged_piece(const ApplicationImage& image, const std::function<void(std::span<const u8>)>& write);
u64 packaged_size(const ApplicationImage& image);

struct SegmentFile {
    const char* name;
    const std::vector<u8>* bytes;
};

// The separate-file form: import.dat, code.dat, data.dat, rsrc.dat, options.dat.
std::array<SegmentFile, 5> segment_files(const ApplicationImage& image);

}  // namespace qvimage

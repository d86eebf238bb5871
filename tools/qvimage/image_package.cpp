// Resource records, options records and packaging; sizes are checked against the signed
// 32-bit length words that the resource and options segments carry.
#include "tools/qvimage/image_package.h"

#include <charconv>

#include "loader/image_format.h"
#include "loader/message_text.h"

namespace qvimage {

using qv::append_bytes;
using qv::append_u16;
using qv::append_u32;
using qv::append_u8;
using qv::Error;
using qv::ImageSegment;
using qv::Result;

namespace {

constexpr size_t kResourceHeader = 14;
constexpr size_t kSignedLimit = 0x7fffffff;

}  // namespace

Result<ResourceArgument> parse_resource_argument(std::string_view text)
{
    const std::string usage =
        "--resource takes TYPE:ID:FILE with a four-character TYPE (got '" + qv::escaped(text) + "')";
    if (text.size() < 5 || text[4] != ':')
        return Error{usage};
    ResourceArgument resource;
    for (int i = 0; i < 4; ++i)
        resource.type = (resource.type << 8) | static_cast<u8>(text[i]);
    const std::string_view rest = text.substr(5);
    const size_t colon = rest.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon + 1 == rest.size())
        return Error{usage};
    u32 id = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + colon, id);
    if (error != std::errc() || end != rest.data() + colon || id > 0xffff)
        return Error{"resource id '" + qv::escaped(rest.substr(0, colon)) + "' is not a number from 0 to 65535"};
    resource.id = static_cast<u16>(id);
    resource.file = std::string(rest.substr(colon + 1));
    return resource;
}

Result<void> append_resource(std::vector<u8>& segment, u32 type, u16 id, std::span<const u8> data)
{
    if (data.size() > kSignedLimit || kSignedLimit - segment.size() < kResourceHeader + data.size())
        return Error{"the resources would exceed the 2 GB that the resource segment can hold"};
    append_u32(segment, type);
    append_u16(segment, id);
    append_u32(segment, 0);
    append_u32(segment, static_cast<u32>(data.size()));
    append_bytes(segment, data);
    return {};
}

std::vector<u8> make_mdi_options(std::string_view title)
{
    std::vector<u8> stream;
    append_u8(stream, 0);
    append_u32(stream, static_cast<u32>(title.size()));
    if (title.empty())
        return stream;
    bool ascii = true;
    for (char c : title)
        ascii = ascii && static_cast<u8>(c) < 0x80;
    stream.insert(stream.end(), title.begin(), title.end());
    append_u32(stream, ascii ? QV_ENCODING_ASCII : QV_ENCODING_UTF8);
    return stream;
}

void for_each_packaged_piece(const ApplicationImage& image, const std::function<void(std::span<const u8>)>& write)
{
    for (const qv::SegmentFormat& format : qv::kSegmentFormats) {
        const std::vector<u8>& segment = image[format.segment];
        u8 length[4];
        qv::store_u32(length, static_cast<u32>(segment.size()));
        write(length);
        write(segment);
    }
}

u64 packaged_size(const ApplicationImage& image)
{
    u64 size = 0;
    for (const qv::SegmentFormat& format : qv::kSegmentFormats)
        size += 4 + image[format.segment].size();
    return size;
}

std::vector<u8> package_image(const ApplicationImage& image)
{
    std::vector<u8> out;
    out.reserve(static_cast<size_t>(packaged_size(image)));
    for_each_packaged_piece(image, [&](std::span<const u8> piece) { append_bytes(out, piece); });
    return out;
}

std::array<SegmentFile, 5> segment_files(const ApplicationImage& image)
{
    std::array<SegmentFile, 5> files{};
    for (size_t i = 0; i < files.size(); ++i) {
        const ImageSegment segment = qv::kSeparateFileOrder[i];
        files[i] = {qv::segment_format(segment).file_name, &image[segment]};
    }
    return files;
}

}  // namespace qvimage

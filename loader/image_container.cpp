#include "loader/image_container.h"

#include <cstring>
#include <new>

#include "loader/image_format.h"

namespace qv {
namespace {

class SegmentReader {
public:
    SegmentReader(platform::InputFile& file, i64 file_size, i64 position)
        : m_file(file), m_size(file_size), m_position(position)
    {
    }

    i64 position() const { return m_position; }

    Result<u32> length_word(const char* segment)
    {
        u8 bytes[4];
        if (m_size - m_position < 4 || !m_file.read(bytes))
            return Error{std::string("the image ends before the length of its ") + segment + " segment"};
        m_position += 4;
        return load_u32(bytes);
    }

    Result<void> segment(const char* segment, u32 length, std::vector<u8>& out)
    {
        if (length > m_size - m_position)
            return Error{std::string("the ") + segment + " segment's length word says " + std::to_string(length) +
                         " bytes, but only " + std::to_string(m_size - m_position) + " remain in the file"};
        // The format sets no limit on a segment, but a 32-bit process may have no room for it.
        try {
            out.resize(length);
        } catch (const std::bad_alloc&) {
            return Error{std::string("no memory for the ") + segment + " segment of " + std::to_string(length) +
                         " bytes"};
        }
        if (!m_file.read(out))
            return Error{std::string("the ") + segment + " segment could not be read"};
        m_position += length;
        return {};
    }

private:
    platform::InputFile& m_file;
    i64 m_size;
    i64 m_position;
};

}  // namespace

ImageLocation decode_locator(const std::optional<std::array<u8, 8>>& locator)
{
    ImageLocation location;
    if (!locator || std::memcmp(locator->data(), kLocatorPlaceholder, kLocatorMarkerSize) == 0)
        return location;
    location.image_offset = load_u32(locator->data());
    location.auxiliary_offset = load_u32(locator->data() + 4);
    location.packaged = location.image_offset != 0;
    return location;
}

Result<ImageSegments> read_packaged_image(platform::InputFile& file, u32 offset)
{
    const i64 size = file.size();
    if (size < 0 || offset > size || !file.seek(offset))
        return Error{"the image offset " + std::to_string(offset) + " lies beyond the end of the file"};
    ImageSegments image;
    SegmentReader reader(file, size, offset);
    for (const SegmentFormat& format : kSegmentFormats) {
        QV_TRY_ASSIGN(u32 length, reader.length_word(format.name));
        if (format.signed_length && static_cast<i32>(length) <= 0)
            continue;
        if (format.segment == ImageSegment::Resources)
            image.resource_file_position = static_cast<u32>(reader.position());
        QV_TRY(reader.segment(format.name, length, image[format.segment]));
    }
    return image;
}

Result<ImageSegments> read_separate_image(const std::string& folder)
{
    ImageSegments image;
    for (const ImageSegment segment : kSeparateFileOrder) {
        const char* file = segment_format(segment).file_name;
        const std::string path = folder.empty() ? file : folder + "/" + file;
        std::optional<std::vector<u8>> bytes = platform::read_whole_file(path);
        if (!bytes)
            return Error{"the image segment file " + path + " could not be read"};
        image[segment] = std::move(*bytes);
    }
    return image;
}

}  // namespace qv

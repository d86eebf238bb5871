#include "loader/image_container.h"

#include <cstring>

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
        u32 v;
        std::memcpy(&v, bytes, 4);
        return v;
    }

    Result<void> segment(const char* segment, u32 length, std::vector<u8>& out)
    {
        if (length > m_size - m_position)
            return Error{std::string("the ") + segment + " segment's length word says " + std::to_string(length) +
                         " bytes, but only " + std::to_string(m_size - m_position) + " remain in the file"};
        out.resize(length);
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
    if (!locator || std::memcmp(locator->data(), "PICK", 4) == 0)
        return location;
    std::memcpy(&location.image_offset, locator->data(), 4);
    std::memcpy(&location.auxiliary_offset, locator->data() + 4, 4);
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
    struct Part {
        const char* name;
        std::vector<u8>* bytes;
        bool signed_length;  // resources and options: absent when not positive
    };
    const Part parts[] = {
        {"code", &image.code, false},         {"data", &image.data, false},
        {"import", &image.imports, false},    {"resource", &image.resources, true},
        {"options", &image.options, true},
    };
    for (const Part& part : parts) {
        Result<u32> length = reader.length_word(part.name);
        if (!length)
            return Error{length.error()};
        if (part.signed_length && static_cast<i32>(length.value()) <= 0)
            continue;
        if (part.bytes == &image.resources)
            image.resource_file_position = static_cast<u32>(reader.position());
        if (Result<void> r = reader.segment(part.name, length.value(), *part.bytes); !r)
            return Error{r.error()};
    }
    return image;
}

Result<ImageSegments> read_separate_image(const std::string& folder)
{
    ImageSegments image;
    struct Part {
        const char* file;
        std::vector<u8>* bytes;
    };
    const Part parts[] = {
        {"import.dat", &image.imports}, {"code.dat", &image.code},     {"data.dat", &image.data},
        {"rsrc.dat", &image.resources}, {"options.dat", &image.options},
    };
    for (const Part& part : parts) {
        const std::string path = folder.empty() ? part.file : folder + "/" + part.file;
        std::optional<std::vector<u8>> bytes = platform::read_whole_file(path);
        if (!bytes)
            return Error{"the image segment file " + path + " could not be read"};
        *part.bytes = std::move(*bytes);
    }
    return image;
}

}  // namespace qv

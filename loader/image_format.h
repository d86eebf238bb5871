// The application image format, written once for the loader that reads images and for
// qvimage that writes them: the import stream's tags, the five segments and their files, the
// executable's locator, the string-constant layout, and the little-endian byte helpers that
// every field goes through.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <vector>

#include "core/types.h"
#include "sdk/quaver.h"

namespace qv {

// ---- The import stream --------------------------------------------------------------------

// A record's first byte. Tags above StringFixup are read as no-ops, like NoOp itself.
enum class ImportTag : u8 {
    NoOp = 0,
    RuntimeImport = 1,  // mode byte, chain head u32, routine name
    DataFixup = 2,      // site u32: the data base is added to the u32 at the site
    CodeFixup = 3,      // site u32: the code base is added to the u32 at the site
    LibraryImport = 4,  // chain head u32, procedure name, library file name
    StringFixup = 5,    // site u32 holding a string constant's data offset
};

// How a runtime import's sites are patched: the routine's address, or a call displacement.
enum class ImportMode : u8 { Absolute = 0, Relative = 1 };

constexpr size_t kMaxNameLength = 255;  // names are counted by one byte

// ---- Segments -----------------------------------------------------------------------------

enum class ImageSegment : u8 { Code, Data, Imports, Resources, Options };

struct SegmentFormat {
    ImageSegment segment;
    const char* name;       // in messages
    const char* file_name;  // in the separate-file form
    bool signed_length;     // packaged: a length that is not positive means the segment is absent
};

// In packaged order: each segment is a u32 length and its bytes.
constexpr std::array<SegmentFormat, 5> kSegmentFormats = {{
    {ImageSegment::Code, "code", "code.dat", false},
    {ImageSegment::Data, "data", "data.dat", false},
    {ImageSegment::Imports, "import", "import.dat", false},
    {ImageSegment::Resources, "resource", "rsrc.dat", true},
    {ImageSegment::Options, "options", "options.dat", true},
}};

// The order in which the separate files are read (and written).
constexpr std::array<ImageSegment, 5> kSeparateFileOrder = {
    ImageSegment::Imports, ImageSegment::Code, ImageSegment::Data, ImageSegment::Resources, ImageSegment::Options};

constexpr const SegmentFormat& segment_format(ImageSegment segment)
{
    return kSegmentFormats[static_cast<size_t>(segment)];
}

// The five segments' bytes, as the loader reads them and qvimage writes them.
struct SegmentBytes {
    std::vector<u8> code;
    std::vector<u8> data;
    std::vector<u8> imports;
    std::vector<u8> resources;
    std::vector<u8> options;

    std::vector<u8>& operator[](ImageSegment segment)
    {
        switch (segment) {
        case ImageSegment::Code: return code;
        case ImageSegment::Data: return data;
        case ImageSegment::Imports: return imports;
        case ImageSegment::Resources: return resources;
        case ImageSegment::Options: break;
        }
        return options;
    }
    const std::vector<u8>& operator[](ImageSegment segment) const { return const_cast<SegmentBytes&>(*this)[segment]; }
};

// ---- The executable's locator -------------------------------------------------------------

// 8 bytes: the image's file offset and the auxiliary block's, or "PICK" in the first word for
// an executable that carries no image (the placeholder compiled in, "PICKPOKE").
constexpr size_t kLocatorSize = 8;
constexpr u8 kLocatorPlaceholder[kLocatorSize] = {'P', 'I', 'C', 'K', 'P', 'O', 'K', 'E'};
constexpr size_t kLocatorMarkerSize = 4;  // "PICK": the placeholder's first word
constexpr u16 kLocatorId = 101;

// ---- String constants ---------------------------------------------------------------------

// A constant in the data segment is a RuntimeString header, the length byte, the text, a
// zero byte and padding to 4; its text pointer is null in the image and set by the loader.
constexpr u32 kStringHeaderSize = sizeof(RuntimeString);
static_assert(kStringHeaderSize == 20, "the constant header is five 32-bit fields");
constexpr u32 kStringCountOffset = offsetof(RuntimeString, refCount);
constexpr u32 kStringTextPointerOffset = offsetof(RuntimeString, buffer);
constexpr u32 kStringCapacityOffset = offsetof(RuntimeString, capacity);
constexpr u32 kStringLengthOffset = offsetof(RuntimeString, length);
constexpr u32 kStringEncodingOffset = offsetof(RuntimeString, encoding);
constexpr u32 kStringMinimumSize = kStringHeaderSize + 2;  // with the length byte and the zero byte

// ---- Little-endian fields -----------------------------------------------------------------

inline u16 load_u16(const u8* p) { return static_cast<u16>(p[0] | (p[1] << 8)); }

inline u32 load_u32(const u8* p)
{
    return static_cast<u32>(p[0]) | (static_cast<u32>(p[1]) << 8) | (static_cast<u32>(p[2]) << 16) |
        (static_cast<u32>(p[3]) << 24);
}

inline void store_u32(u8* p, u32 value)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<u8>(value >> (8 * i));
}

inline void append_u8(std::vector<u8>& out, u8 value) { out.push_back(value); }

inline void append_u16(std::vector<u8>& out, u16 value)
{
    out.push_back(static_cast<u8>(value));
    out.push_back(static_cast<u8>(value >> 8));
}

inline void append_u32(std::vector<u8>& out, u32 value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<u8>(value >> (8 * i)));
}

inline void append_bytes(std::vector<u8>& out, std::span<const u8> bytes)
{
    out.insert(out.end(), bytes.begin(), bytes.end());
}

}  // namespace qv

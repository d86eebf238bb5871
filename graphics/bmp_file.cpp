#include "graphics/bmp_file.h"

#include <bit>

namespace qv::graphics {
namespace {

constexpr u32 kFileHeaderSize = 14;
constexpr u32 kInfoHeaderSize = 40;
constexpr u32 kRgb = 0;
constexpr u32 kBitFields = 3;

u32 read_u16(std::span<const u8> bytes, size_t at) { return u32{bytes[at]} | (u32{bytes[at + 1]} << 8); }

u32 read_u32(std::span<const u8> bytes, size_t at) { return read_u16(bytes, at) | (read_u16(bytes, at + 2) << 16); }

void put_u16(std::vector<u8>& out, u32 value)
{
    out.push_back(static_cast<u8>(value));
    out.push_back(static_cast<u8>(value >> 8));
}

void put_u32(std::vector<u8>& out, u32 value)
{
    put_u16(out, value & 0xFFFFu);
    put_u16(out, value >> 16);
}

// A channel is one run of bits; a mask with a gap has no width to scale by, and its bits
// shifted down would reach past the channel's byte.
bool is_one_run(u32 mask)
{
    if (mask == 0)
        return true;  // a channel the file leaves out reads as 0
    const u32 run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0;
}

// One colour channel held under a mask, scaled to 0..255.
struct Channel {
    u32 mask = 0;
    u32 shift = 0;
    u32 max = 0;

    explicit Channel(u32 m) : mask(m)
    {
        if (mask == 0)
            return;
        shift = static_cast<u32>(std::countr_zero(mask));
        const u32 width = static_cast<u32>(std::popcount(mask));
        max = width >= 32 ? 0xFFFFFFFFu : (1u << width) - 1;
    }
    u32 value(u32 pixel) const
    {
        if (max == 0)
            return 0;
        const u64 raw = (pixel & mask) >> shift;
        return static_cast<u32>((raw * 255 + max / 2) / max);
    }
};

}  // namespace

std::optional<DecodedBitmap> decode_bmp_file(std::span<const u8> file)
{
    if (file.size() < kFileHeaderSize + kInfoHeaderSize || file[0] != 'B' || file[1] != 'M')
        return std::nullopt;
    const u64 bits_offset = read_u32(file, 10);
    const u64 info_size = read_u32(file, 14);
    if (info_size < kInfoHeaderSize || kFileHeaderSize + info_size > file.size())
        return std::nullopt;
    const i32 width = static_cast<i32>(read_u32(file, 18));
    const i32 signed_height = static_cast<i32>(read_u32(file, 22));
    const u32 planes = read_u16(file, 26);
    const u32 bits = read_u16(file, 28);
    const u32 compression = read_u32(file, 30);
    const u32 colours_used = read_u32(file, 46);

    const i64 height = signed_height < 0 ? -i64{signed_height} : i64{signed_height};
    if (planes != 1 || width < 1 || width > kMaxBitmapSide || height < 1 || height > kMaxBitmapSide ||
        u64(width) * u64(height) > kMaxBitmapPixels)
        return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return std::nullopt;
    if (compression != kRgb && !(compression == kBitFields && (bits == 16 || bits == 32)))
        return std::nullopt;

    // Masks: after a 40-byte header, or inside a larger one at the same place.
    u32 masks[3] = {0x00FF0000u, 0x0000FF00u, 0x000000FFu};
    if (bits == 16) {
        masks[0] = 0x7C00u, masks[1] = 0x03E0u, masks[2] = 0x001Fu;
    }
    u64 table_start = kFileHeaderSize + info_size;
    if (compression == kBitFields) {
        if (kFileHeaderSize + kInfoHeaderSize + 12 > file.size())
            return std::nullopt;
        for (int i = 0; i < 3; ++i)
            masks[i] = read_u32(file, kFileHeaderSize + kInfoHeaderSize + 4 * static_cast<size_t>(i));
        if (info_size == kInfoHeaderSize)
            table_start += 12;
        for (u32 mask : masks)
            if (!is_one_run(mask))
                return std::nullopt;
    }

    std::vector<u32> palette;
    if (bits <= 8) {
        const u32 capacity = 1u << bits;
        const u32 count = colours_used == 0 ? capacity : colours_used;
        if (count > capacity || table_start + u64{count} * 4 > file.size())
            return std::nullopt;
        for (u32 i = 0; i < count; ++i)
            palette.push_back(read_u32(file, static_cast<size_t>(table_start + 4 * i)) & 0x00FFFFFFu);
    }

    const u64 stride = (u64(width) * bits + 31) / 32 * 4;
    if (bits_offset + stride * u64(height) > file.size())
        return std::nullopt;

    DecodedBitmap bitmap;
    bitmap.width = width;
    bitmap.height = static_cast<i32>(height);
    bitmap.depth = static_cast<i32>(bits);
    bitmap.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    for (i64 y = 0; y < height; ++y) {
        // Rows run bottom-up unless the height is negative.
        const i64 file_row = signed_height < 0 ? y : height - 1 - y;
        const std::span<const u8> row =
            file.subspan(static_cast<size_t>(bits_offset + stride * u64(file_row)), static_cast<size_t>(stride));
        u32* out = bitmap.pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
        for (i32 x = 0; x < width; ++x) {
            const size_t ux = static_cast<size_t>(x);
            u32 pixel = 0;
            switch (bits) {
            case 1:
            case 4:
            case 8: {
                const size_t bit = ux * bits;
                const u32 index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                pixel = index < palette.size() ? palette[index] : 0;
                break;
            }
            case 24: pixel = u32{row[ux * 3]} | (u32{row[ux * 3 + 1]} << 8) | (u32{row[ux * 3 + 2]} << 16); break;
            case 16:
            case 32: {
                const u32 raw = bits == 16 ? read_u16(row, ux * 2) : read_u32(row, ux * 4);
                pixel = blue.value(raw) | (green.value(raw) << 8) | (red.value(raw) << 16);
                break;
            }
            }
            out[x] = pixel;
        }
    }
    return bitmap;
}

std::optional<DecodedBitmap> decode_dib(std::span<const u8> dib)
{
    if (dib.size() < kInfoHeaderSize)
        return std::nullopt;
    // Where the rows start: after the header, the masks a 40-byte header keeps outside itself,
    // and the colour table. The file decoder then checks everything against the block's size.
    const u64 info_size = read_u32(dib, 0);
    const u32 bits = read_u16(dib, 14);
    const u32 compression = read_u32(dib, 16);
    const u32 colours_used = read_u32(dib, 32);
    if (info_size < kInfoHeaderSize || info_size > dib.size())
        return std::nullopt;
    u64 rows = info_size;
    if (compression == kBitFields && info_size == kInfoHeaderSize)
        rows += 12;
    if (bits >= 1 && bits <= 8)
        rows += 4 * u64{colours_used == 0 ? 1u << bits : colours_used};
    if (rows > dib.size())
        return std::nullopt;

    std::vector<u8> file;
    file.reserve(kFileHeaderSize + dib.size());
    file.push_back('B');
    file.push_back('M');
    put_u32(file, static_cast<u32>(kFileHeaderSize + dib.size()));
    put_u32(file, 0);
    put_u32(file, static_cast<u32>(kFileHeaderSize + rows));
    file.insert(file.end(), dib.begin(), dib.end());
    return decode_bmp_file(file);
}

std::vector<u8> encode_dib(i32 width, i32 height, std::span<const u32> pixels)
{
    std::vector<u8> dib;
    if (width < 1 || height < 1 || pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
        return dib;
    const u32 image_size = static_cast<u32>(pixels.size() * 4);
    dib.reserve(kInfoHeaderSize + image_size);
    put_u32(dib, kInfoHeaderSize);
    put_u32(dib, static_cast<u32>(width));
    put_u32(dib, static_cast<u32>(height));  // positive: bottom-up
    put_u16(dib, 1);                         // planes
    put_u16(dib, 32);
    put_u32(dib, kRgb);
    put_u32(dib, image_size);
    put_u32(dib, 2835);  // 72 dots per inch, in dots per metre
    put_u32(dib, 2835);
    put_u32(dib, 0);  // colours used
    put_u32(dib, 0);  // colours important
    for (i32 y = height - 1; y >= 0; --y) {
        const size_t row = static_cast<size_t>(y) * static_cast<size_t>(width);
        for (size_t x = 0; x < static_cast<size_t>(width); ++x)
            put_u32(dib, pixels[row + x] & 0x00FFFFFFu);
    }
    return dib;
}

}  // namespace qv::graphics

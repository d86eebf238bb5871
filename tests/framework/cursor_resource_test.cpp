// The "CURS" resource's planes and hot spot, pixel by pixel.
#include <gtest/gtest.h>

#include <vector>

#include "framework/cursor_resource.h"

namespace qv {
namespace {

constexpr size_t kImage = 0;
constexpr size_t kMask = 32;

void set_pixel(std::vector<u8>& resource, size_t plane, i32 x, i32 y)
{
    resource[plane + static_cast<size_t>(y * 2 + x / 8)] |= static_cast<u8>(0x80 >> (x % 8));
}

int cursor_bit(const std::array<u8, kCursorPlaneBytes>& plane, i32 x, i32 y)
{
    return plane[static_cast<size_t>(y * 4 + x / 8)] >> (7 - x % 8) & 1;
}

std::vector<u8> resource_with_hot_spot(u8 v_high, u8 v_low, u8 h_high, u8 h_low)
{
    std::vector<u8> resource(kCursorResourceSize, 0);
    resource[64] = v_high, resource[65] = v_low, resource[66] = h_high, resource[67] = h_low;
    return resource;
}

struct PixelCase {
    const char* what;
    i32 x, y;
    bool image, mask;
    int and_bit, xor_bit;
};

TEST(CursorResource, EachPixelTakesNotMaskAndImageXorMask)
{
    const PixelCase cases[] = {
        {"masked in, image set: black", 0, 0, true, true, 0, 0},
        {"masked in, image clear: white", 9, 4, false, true, 0, 1},
        {"masked out, image clear: transparent", 5, 11, false, false, 1, 0},
        {"masked out, image set: inverted", 15, 15, true, false, 1, 1},
        {"last column of the first row", 15, 0, true, true, 0, 0},
        {"first column of the last row", 0, 15, false, true, 0, 1},
    };
    for (const PixelCase& c : cases) {
        std::vector<u8> resource(kCursorResourceSize, 0);
        if (c.image)
            set_pixel(resource, kImage, c.x, c.y);
        if (c.mask)
            set_pixel(resource, kMask, c.x, c.y);
        const std::optional<CursorPlanes> planes = decode_cursor_resource(resource);
        ASSERT_TRUE(planes) << c.what;
        EXPECT_EQ(cursor_bit(planes->and_plane, c.x, c.y), c.and_bit) << c.what;
        EXPECT_EQ(cursor_bit(planes->xor_plane, c.x, c.y), c.xor_bit) << c.what;
        // Its neighbours in the image stay transparent: nothing spills into the next byte or row.
        EXPECT_EQ(cursor_bit(planes->and_plane, (c.x + 1) % 16, c.y), 1) << c.what;
        EXPECT_EQ(cursor_bit(planes->and_plane, c.x, (c.y + 1) % 16), 1) << c.what;
    }
}

TEST(CursorResource, EverythingOutsideTheImageIsTransparent)
{
    std::vector<u8> resource(kCursorResourceSize, 0);
    for (size_t i = 0; i < 64; ++i)
        resource[i] = 0xFF;  // image and mask: all black
    const std::optional<CursorPlanes> planes = decode_cursor_resource(resource);
    ASSERT_TRUE(planes);
    for (i32 y = 0; y < kCursorSide; ++y) {
        for (i32 x = 0; x < kCursorSide; ++x) {
            const bool inside = x < 16 && y < 16;
            ASSERT_EQ(cursor_bit(planes->and_plane, x, y), inside ? 0 : 1) << x << "," << y;
            ASSERT_EQ(cursor_bit(planes->xor_plane, x, y), 0) << x << "," << y;
        }
    }
}

struct HotSpotCase {
    const char* what;
    u8 v_high, v_low, h_high, h_low;
    i32 hot_x, hot_y;
};

TEST(CursorResource, TheHotSpotIsVerticalThenHorizontalAndStaysInsideTheCursor)
{
    const HotSpotCase cases[] = {
        {"big-endian, vertical first", 0, 3, 0, 12, 12, 3},
        {"the image's far corner", 0, 15, 0, 15, 15, 15},
        {"negative: the top or left edge", 0xFF, 0xFE, 0x80, 0x00, 0, 0},
        {"beyond the cursor: its last pixel", 0x01, 0x00, 0, 32, 31, 31},
    };
    for (const HotSpotCase& c : cases) {
        const std::optional<CursorPlanes> planes =
            decode_cursor_resource(resource_with_hot_spot(c.v_high, c.v_low, c.h_high, c.h_low));
        ASSERT_TRUE(planes) << c.what;
        EXPECT_EQ(planes->hot_x, c.hot_x) << c.what;
        EXPECT_EQ(planes->hot_y, c.hot_y) << c.what;
    }
}

TEST(CursorResource, SixtyEightBytesAreNeededAndNoMoreAreRead)
{
    std::vector<u8> resource = resource_with_hot_spot(0, 2, 0, 5);
    EXPECT_FALSE(decode_cursor_resource(std::span<const u8>(resource).first(67)));
    EXPECT_FALSE(decode_cursor_resource({}));
    std::vector<u8> longer = resource;
    longer.resize(200, 0xFF);
    const std::optional<CursorPlanes> planes = decode_cursor_resource(longer);
    ASSERT_TRUE(planes);
    EXPECT_EQ(planes->hot_x, 5);
    EXPECT_EQ(planes->hot_y, 2);
    EXPECT_EQ(planes, decode_cursor_resource(resource));
}

}  // namespace
}  // namespace qv

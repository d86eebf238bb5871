// Bitmap files decoded into pixels: row order, colour order, row padding, colour tables and
// masks, and the refusal of every file whose sizes do not hold.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "graphics/bmp_file.h"
#include "tests/graphics/bmp_file_builder.h"

namespace qv::graphics {
namespace {

using test::BmpLayout;
using test::build_bmp;

std::vector<u32> pixels_of(const std::vector<u8>& file)
{
    const std::optional<DecodedBitmap> bitmap = decode_bmp_file(file);
    return bitmap ? bitmap->pixels : std::vector<u32>{};
}

TEST(BmpFile, TwentyFourBitRowsRunBottomUpInBlueGreenRedOrderWithPaddedRows)
{
    BmpLayout layout;  // 3 x 2: 9 bytes a row padded to 12
    layout.width = 3;
    layout.height = 2;
    layout.bits = 24;
    layout.rows = {{0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0xEE, 0xEE, 0xEE},   // bottom
                   {0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0xEE, 0xEE, 0xEE}};  // top
    const std::optional<DecodedBitmap> bitmap = decode_bmp_file(build_bmp(layout));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 3);
    EXPECT_EQ(bitmap->height, 2);
    EXPECT_EQ(bitmap->depth, 24);
    EXPECT_EQ(bitmap->pixels, (std::vector<u32>{0x131211, 0x161514, 0x191817, 0x030201, 0x060504, 0x090807}));

    layout.height = -2;  // top-down: the first row in the file is the top one
    EXPECT_EQ(pixels_of(build_bmp(layout)),
              (std::vector<u32>{0x030201, 0x060504, 0x090807, 0x131211, 0x161514, 0x191817}));
}

TEST(BmpFile, ColourTablesOfOneFourAndEightBitsPackTheFirstPixelHighest)
{
    const std::vector<u32> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    struct Case {
        u16 bits;
        std::vector<u8> row;  // one row of five pixels, padded to 4 bytes
        std::vector<u32> expected;
    };
    const Case cases[] = {
        {1, {0b10110000, 0, 0, 0}, {0xFF0000, 0x000000, 0xFF0000, 0xFF0000, 0x000000}},
        {4, {0x12, 0x30, 0x10, 0}, {0xFF0000, 0x00FF00, 0x0000FF, 0x000000, 0xFF0000}},
        {8, {3, 2, 1, 0, 2, 0, 0, 0}, {0x0000FF, 0x00FF00, 0xFF0000, 0x000000, 0x00FF00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits);
        BmpLayout layout;
        layout.width = 5;
        layout.height = 1;
        layout.bits = c.bits;
        layout.palette = c.bits == 1 ? std::vector<u32>(palette.begin(), palette.begin() + 2) : palette;
        layout.colours_used = static_cast<u32>(layout.palette.size());
        layout.rows = {c.row};
        EXPECT_EQ(pixels_of(build_bmp(layout)), c.expected);
    }
}

TEST(BmpFile, AnIndexPastAShortColourTableReadsAsBlack)
{
    BmpLayout layout;
    layout.width = 3;
    layout.height = 1;
    layout.bits = 8;
    layout.palette = {0x123456, 0xABCDEF};
    layout.colours_used = 2;
    layout.rows = {{1, 0, 200, 0}};
    EXPECT_EQ(pixels_of(build_bmp(layout)), (std::vector<u32>{0xABCDEF, 0x123456, 0x000000}));
}

TEST(BmpFile, SixteenAndThirtyTwoBitsUseTheirMasksScaledToFullRange)
{
    BmpLayout five_five_five;  // no masks: 5 bits each, red highest
    five_five_five.width = 2;
    five_five_five.height = 1;
    five_five_five.bits = 16;
    five_five_five.rows = {{0x00, 0x7C, 0x1F, 0x00}};  // 0x7C00 pure red, 0x001F pure blue
    EXPECT_EQ(pixels_of(build_bmp(five_five_five)), (std::vector<u32>{0xFF0000, 0x0000FF}));

    BmpLayout five_six_five = five_five_five;
    five_six_five.masks = {{0xF800, 0x07E0, 0x001F}};
    five_six_five.rows = {{0xE0, 0x07, 0x10, 0x84}};  // 0x07E0 pure green; 0x8410 half of each
    EXPECT_EQ(pixels_of(build_bmp(five_six_five)), (std::vector<u32>{0x00FF00, 0x848284}));

    BmpLayout thirty_two;  // masks in the odd order alpha-blue-green-red
    thirty_two.width = 1;
    thirty_two.height = 1;
    thirty_two.bits = 32;
    thirty_two.masks = {{0x000000FF, 0x0000FF00, 0x00FF0000}};
    thirty_two.rows = {{0x11, 0x22, 0x33, 0x44}};
    EXPECT_EQ(pixels_of(build_bmp(thirty_two)), (std::vector<u32>{0x112233}));
    // Runs at the top of the word and 16 bits wide are runs too.
    thirty_two.masks = {{0xFF000000, 0x00FFFF00, 0x000000FF}};
    thirty_two.rows = {{0xFF, 0x34, 0x12, 0x80}};
    EXPECT_EQ(pixels_of(build_bmp(thirty_two)), (std::vector<u32>{0x8012FF}));
    thirty_two.rows = {{0x11, 0x22, 0x33, 0x44}};
    thirty_two.masks.reset();  // plain: blue, green, red, unused
    EXPECT_EQ(pixels_of(build_bmp(thirty_two)), (std::vector<u32>{0x332211}));
}

TEST(BmpFile, EveryTruncationIsRefused)
{
    BmpLayout layout;
    layout.width = 3;
    layout.height = 2;
    layout.bits = 8;
    layout.palette = {0x112233, 0x445566, 0x778899};
    layout.colours_used = 3;
    layout.rows = {{0, 1, 2, 0}, {2, 1, 0, 0}};
    const std::vector<u8> file = build_bmp(layout);
    ASSERT_TRUE(decode_bmp_file(file));
    for (size_t length = 0; length < file.size(); ++length)
        EXPECT_FALSE(decode_bmp_file(std::span<const u8>(file.data(), length))) << length;
}

TEST(BmpFile, HeadersItCannotReadAreRefused)
{
    BmpLayout good;  // with masks at 54 (red), 58 (green) and 62 (blue)
    good.width = 2;
    good.height = 2;
    good.bits = 32;
    good.masks = {{0x00FF0000, 0x0000FF00, 0x000000F0}};
    good.rows = {std::vector<u8>(8, 0x40), std::vector<u8>(8, 0x80)};
    ASSERT_TRUE(decode_bmp_file(build_bmp(good)));

    struct Case {
        const char* what;
        size_t offset;
        u32 value;
        int width;  // bytes written at the offset
    };
    const Case cases[] = {
        {"signature", 0, 'X', 1},
        {"core header of 12 bytes", 14, 12, 4},
        {"header larger than the file", 14, 4000, 4},
        {"zero width", 18, 0, 4},
        {"negative width", 18, 0xFFFFFFFE, 4},
        {"zero height", 22, 0, 4},
        {"height of INT_MIN", 22, 0x80000000, 4},
        {"two planes", 26, 2, 2},
        {"two bits a pixel", 28, 2, 2},
        {"run-length compression", 30, 1, 4},
        {"masks on 24 bits", 28, 24, 2},
        {"data past the end", 10, 0xFFFFFFF0, 4},
        // A mask with a gap would give channel values past 255, spilling into the next channel.
        {"red mask with a gap", 54, 0x00FF00FF, 4},
        {"red mask in two runs", 54, 0x00F0000F, 4},
        {"green mask with a one-bit gap", 58, 0x0000FD00, 4},
        {"blue mask of the two end bits", 62, 0x80000001, 4},
    };
    for (const Case& c : cases) {
        std::vector<u8> file = build_bmp(good);
        for (int i = 0; i < c.width; ++i)
            file[c.offset + static_cast<size_t>(i)] = static_cast<u8>(c.value >> (8 * i));
        EXPECT_FALSE(decode_bmp_file(file)) << c.what;
    }

    BmpLayout too_many_colours;
    too_many_colours.width = 1;
    too_many_colours.height = 1;
    too_many_colours.bits = 4;
    too_many_colours.palette = std::vector<u32>(17, 0);
    too_many_colours.colours_used = 17;
    too_many_colours.rows = {{0, 0, 0, 0}};
    EXPECT_FALSE(decode_bmp_file(build_bmp(too_many_colours)));

    // Sizes: each side up to the limit, and not too many pixels in all (checked before any
    // allocation, so a hostile header cannot ask for gigabytes).
    struct Size {
        i32 width, height;
        bool accepted;
    };
    const Size sizes[] = {{kMaxBitmapSide, 1, true},
                          {kMaxBitmapSide + 1, 1, false},
                          {1, -kMaxBitmapSide - 1, false},
                          {4097, 4097, false}};
    for (const Size& size : sizes) {
        BmpLayout layout;
        layout.width = size.width;
        layout.height = size.height;
        layout.bits = 1;
        layout.palette = {0, 0xFFFFFF};
        EXPECT_EQ(decode_bmp_file(build_bmp(layout)).has_value(), size.accepted) << size.width << " x " << size.height;
    }
}

// The clipboard's form: the file without its 14-byte header, the rows right after the table.
std::vector<u8> dib_of(const BmpLayout& layout)
{
    const std::vector<u8> file = build_bmp(layout);
    return {file.begin() + 14, file.end()};
}

TEST(Dib, ReadsLikeTheFileItWouldBeWhereverTheRowsStart)
{
    BmpLayout paletted;  // rows after a two-entry table
    paletted.width = 5;
    paletted.height = 2;
    paletted.bits = 1;
    paletted.palette = {0x102030, 0xA0B0C0};
    paletted.rows = {{0b10100000, 0, 0, 0}, {0b01011000, 0, 0, 0}};
    BmpLayout masked;  // rows after the three masks
    masked.width = 2;
    masked.height = -1;
    masked.bits = 32;
    masked.masks = {{0x000000FF, 0x0000FF00, 0x00FF0000}};
    masked.rows = {{0x11, 0x22, 0x33, 0, 0x44, 0x55, 0x66, 0}};
    BmpLayout plain;
    plain.width = 3;
    plain.height = 2;
    for (const BmpLayout& layout : {paletted, masked, plain}) {
        SCOPED_TRACE(layout.bits);
        const std::optional<DecodedBitmap> from_file = decode_bmp_file(build_bmp(layout));
        const std::optional<DecodedBitmap> from_dib = decode_dib(dib_of(layout));
        ASSERT_TRUE(from_file);
        ASSERT_TRUE(from_dib);
        EXPECT_EQ(from_dib->width, from_file->width);
        EXPECT_EQ(from_dib->height, from_file->height);
        EXPECT_EQ(from_dib->depth, from_file->depth);
        EXPECT_EQ(from_dib->pixels, from_file->pixels);
    }
    EXPECT_EQ(decode_dib(dib_of(paletted))->pixels,
              (std::vector<u32>{0x102030, 0xA0B0C0, 0x102030, 0xA0B0C0, 0xA0B0C0,    // top
                                0xA0B0C0, 0x102030, 0xA0B0C0, 0x102030, 0x102030}));  // bottom
}

TEST(Dib, ShortOrInconsistentBlocksAreRefused)
{
    BmpLayout layout;
    layout.width = 4;
    layout.height = 4;
    layout.bits = 8;
    layout.palette = std::vector<u32>(16, 0x445566);
    layout.colours_used = 16;
    const std::vector<u8> dib = dib_of(layout);
    ASSERT_TRUE(decode_dib(dib));
    for (size_t cut : {size_t{0}, size_t{39}, size_t{40}, size_t{40 + 63}, dib.size() - 1}) {
        SCOPED_TRACE(cut);
        EXPECT_FALSE(decode_dib(std::span<const u8>(dib).first(cut)));
    }
    std::vector<u8> header_past_end = dib;
    header_past_end[1] = 0x10;  // a header of 4,136 bytes
    EXPECT_FALSE(decode_dib(header_past_end));
    std::vector<u8> table_past_end = dib;
    table_past_end[33] = 0x01;  // 272 colours in a table of 8 bits
    EXPECT_FALSE(decode_dib(table_past_end));
}

TEST(Dib, WrittenPixelsReadBackAsTheyWere)
{
    const std::vector<u32> pixels = {0x000000, 0xFFFFFF, 0x123456, 0xFF0000, 0x00FF00, 0x0000FF};
    const std::vector<u8> dib = encode_dib(3, 2, pixels);
    const std::optional<DecodedBitmap> bitmap = decode_dib(dib);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(bitmap->width, 3);
    EXPECT_EQ(bitmap->height, 2);
    EXPECT_EQ(bitmap->depth, 32);
    EXPECT_EQ(bitmap->pixels, pixels);
    EXPECT_EQ(dib.size(), 40u + 6 * 4);
    EXPECT_EQ(dib[40], 0x00);  // the bottom row first, blue lowest: 0xFF0000 is 00 00 FF 00
    EXPECT_EQ(dib[42], 0xFF);

    EXPECT_TRUE(encode_dib(0, 2, {}).empty());
    EXPECT_TRUE(encode_dib(3, 2, std::span<const u32>(pixels).first(5)).empty());
}

}  // namespace
}  // namespace qv::graphics

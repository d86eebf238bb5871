// Drawing into pictures, with no window anywhere: which pixels lines, pens, rectangles,
// polygons, pixels and pictures cover, checked against small text images of the bitmap.
#include "tests/graphics/win32/graphics_fixture.h"

namespace qv::graphics::test {
namespace {

using PictureDrawing = GraphicsTest;

TEST_F(PictureDrawing, ALineAndItsReverseCoverTheSamePixelsEndPointIncluded)
{
    struct Case {
        i32 x1, y1, x2, y2;
    };
    const Case cases[] = {{0, 0, 10, 10}, {10, 0, 0, 10}, {2, 5, 9, 5}, {4, 1, 4, 9}, {0, 3, 10, 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x1 << "," << c.y1 << " to " << c.x2 << "," << c.y2);
        Canvas forward(12, 12), backward(12, 12);
        RuntimeGraphicsDrawLine(forward.g.get(), c.x1, c.y1, c.x2, c.y2);
        RuntimeGraphicsDrawLine(backward.g.get(), c.x2, c.y2, c.x1, c.y1);
        EXPECT_EQ(forward.image(), backward.image());
        EXPECT_NE(forward.at(c.x1, c.y1), 0xFFFFFFu);
        EXPECT_NE(forward.at(c.x2, c.y2), 0xFFFFFFu);
    }
    Canvas diagonal(12, 12);
    RuntimeGraphicsDrawLine(diagonal.g.get(), 10, 10, 0, 0);
    EXPECT_EQ(diagonal.painted(), 11);
    for (i32 i = 0; i <= 10; ++i)
        EXPECT_EQ(diagonal.at(i, i), 0x000000u) << i;
}

TEST_F(PictureDrawing, PenSizesWidenLines)
{
    Canvas wide(12, 12);  // 3 x 1: lines two pixels wide, shifted right by one
    graphicsPenWidthSetter(wide.g.get(), 0, 3);
    RuntimeGraphicsDrawLine(wide.g.get(), 4, 2, 4, 9);
    for (i32 y = 3; y <= 8; ++y) {
        i32 across = 0;
        for (i32 x = 0; x < 12; ++x)
            across += wide.at(x, y) != 0xFFFFFF;
        EXPECT_EQ(across, 2) << "row " << y << "\n" << wide.image();
    }
    EXPECT_EQ(wide.at(3, 5), 0xFFFFFFu) << "nothing left of the pen's shifted start\n" << wide.image();

    Canvas tall(12, 12);  // 1 x 3 likewise, downwards
    graphicsPenHeightSetter(tall.g.get(), 0, 3);
    EXPECT_EQ(graphicsPenWidthGetter(tall.g.get(), 0), 1);  // the other dimension is kept
    RuntimeGraphicsDrawLine(tall.g.get(), 2, 4, 9, 4);
    for (i32 x = 3; x <= 8; ++x) {
        i32 down = 0;
        for (i32 y = 0; y < 12; ++y)
            down += tall.at(x, y) != 0xFFFFFF;
        EXPECT_EQ(down, 2) << "column " << x << "\n" << tall.image();
    }
}

TEST_F(PictureDrawing, RectanglesWithNegativeSizesMatchTheirPositiveTwins)
{
    const std::string frame = rows({
        "........",
        "........",
        "..#####.",
        "..#...#.",
        "..#...#.",
        "..#####.",
        "........",
    });
    Canvas positive(8, 7), negative_width(8, 7), negative_both(8, 7);
    RuntimeGraphicsDrawRect(positive.g.get(), 2, 2, 5, 4);
    RuntimeGraphicsDrawRect(negative_width.g.get(), 7, 2, -5, 4);
    RuntimeGraphicsDrawRect(negative_both.g.get(), 7, 6, -5, -4);
    EXPECT_EQ(positive.image(), frame);
    EXPECT_EQ(negative_width.image(), frame);
    EXPECT_EQ(negative_both.image(), frame);

    Canvas filled(8, 7), filled_back(8, 7);
    RuntimeGraphicsFillRect(filled.g.get(), 2, 2, 5, 4);
    RuntimeGraphicsFillRect(filled_back.g.get(), 7, 6, -5, -4);
    EXPECT_EQ(filled.painted(), 20);
    EXPECT_EQ(filled.image(), filled_back.image());
    for (i32 y = 2; y < 6; ++y)
        EXPECT_EQ(filled.at(2, y), 0x000000u) << y;
}

TEST_F(PictureDrawing, OvalsAndRoundRectanglesStayInsideTheirRectangle)
{
    struct Case {
        const char* name;
        void (*draw)(RuntimeObject*);
    };
    const Case cases[] = {
        {"DrawOval", [](RuntimeObject* g) { RuntimeGraphicsDrawOval(g, 12, 14, -10, -12); }},
        {"FillOval", [](RuntimeObject* g) { RuntimeGraphicsFillOval(g, 2, 2, 10, 12); }},
        {"DrawRoundRect", [](RuntimeObject* g) { RuntimeGraphicsDrawRoundRect(g, 2, 2, 10, 12, 4, 4); }},
        {"FillRoundRect", [](RuntimeObject* g) { RuntimeGraphicsFillRoundRect(g, 2, 2, 10, 12, 4, 4); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(16, 18);
        c.draw(canvas.g.get());
        const std::string image = canvas.image();
        EXPECT_GT(canvas.painted(), 10) << image;
        for (i32 y = 0; y < 18; ++y) {
            for (i32 x = 0; x < 16; ++x) {
                if (x < 2 || x > 11 || y < 2 || y > 13) {
                    EXPECT_EQ(canvas.at(x, y), 0xFFFFFFu) << x << "," << y << "\n" << image;
                }
            }
        }
        EXPECT_EQ(canvas.at(2, 2), 0xFFFFFFu) << "the corner is rounded\n" << image;
    }
}

TEST_F(PictureDrawing, PolygonArraysOfTwoAndThreePoints)
{
    Canvas triangle(12, 12);
    RuntimeArray* three = integer_array({-1, 1, 1, 10, 1, 1, 10});
    graphicsDrawPolygon(triangle.g.get(), three);
    EXPECT_EQ(triangle.image(),
              rows({
                  "............",
                  ".##########.",
                  ".#.......#..",
                  ".#......#...",
                  ".#.....#....",
                  ".#....#.....",
                  ".#...#......",
                  ".#..#.......",
                  ".#.#........",
                  ".##.........",
                  ".#..........",
                  "............",
              }))
        << triangle.image();
    RuntimeUnlockArray(three);

    // Two points: the segment and the same segment back, so the line's pixels and no others;
    // a fifth element without a partner changes nothing.
    Canvas line(12, 12), segment(12, 12), odd(12, 12);
    RuntimeGraphicsDrawLine(line.g.get(), 1, 2, 9, 7);
    RuntimeArray* two = integer_array({0, 1, 2, 9, 7});
    RuntimeArray* five = integer_array({0, 1, 2, 9, 7, 5});
    graphicsDrawPolygon(segment.g.get(), two);
    graphicsDrawPolygon(odd.g.get(), five);
    EXPECT_EQ(segment.image(), line.image());
    EXPECT_EQ(odd.image(), line.image());

    // Filling: the inside is painted, outside the bounding box nothing.
    Canvas filled(12, 12);
    RuntimeArray* box = integer_array({0, 2, 2, 9, 2, 9, 9, 2, 9});
    graphicsFillPolygon(filled.g.get(), box);
    EXPECT_EQ(filled.at(5, 5), 0x000000u);
    EXPECT_EQ(filled.at(10, 10), 0xFFFFFFu);
    EXPECT_EQ(filled.at(1, 5), 0xFFFFFFu);

    // Nil, a single point's worth and empty arrays draw nothing.
    Canvas nothing(12, 12);
    RuntimeArray* single = integer_array({0, 5});
    graphicsDrawPolygon(nothing.g.get(), nullptr);
    graphicsDrawPolygon(nothing.g.get(), single);
    graphicsFillPolygon(nothing.g.get(), single);
    EXPECT_EQ(nothing.painted(), 0);
    for (RuntimeArray* array : {two, five, box, single})
        RuntimeUnlockArray(array);
    EXPECT_TRUE(nothing_raised());
}

TEST_F(PictureDrawing, ForeColorAndPixelsRoundTrip)
{
    Canvas canvas(8, 8);
    graphicsForeColorSetter(canvas.g.get(), 0, 0x123456);
    EXPECT_EQ(graphicsForeColorGetter(canvas.g.get(), 0), 0x123456u);
    RuntimeGraphicsFillRect(canvas.g.get(), 1, 1, 2, 2);
    EXPECT_EQ(canvas.at(1, 1), 0x123456u);

    graphicsPixelSetter(canvas.g.get(), 5, 6, 0xABCDEF);
    EXPECT_EQ(canvas.at(5, 6), 0xABCDEFu);
    EXPECT_EQ(graphicsPixelGetter(canvas.g.get(), 5, 6), 0xABCDEFu);
    EXPECT_EQ(graphicsPixelGetter(canvas.g.get(), 1, 2), 0x123456u);
    EXPECT_EQ(graphicsPixelGetter(canvas.g.get(), 0, 0), 0xFFFFFFu);
    EXPECT_EQ(canvas.painted(), 5);

    RuntimeGraphicsClearRect(canvas.g.get(), 0, 0, 8, 8);  // a picture clears to white
    EXPECT_EQ(canvas.painted(), 0);
}

// A 20 x 10 source whose column c is the colour 0x0000c0 + c, so that each destination pixel
// shows which source column it came from.
struct StripedSource : Canvas {
    StripedSource() : Canvas(20, 10)
    {
        for (i32 x = 0; x < 20; ++x)
            for (i32 y = 0; y < 10; ++y)
                graphicsPixelSetter(g.get(), x, y, 0xC0 + static_cast<u32>(x));
    }
};

TEST_F(PictureDrawing, PicturesAreDrawnWithSourceOffsetsAndClipping)
{
    constexpr i32 D = kDefaultArgument;
    StripedSource source;

    Canvas whole(30, 12);
    RuntimeGraphicsDrawPicture(whole.g.get(), source.picture.get(), 3, 1, D, D, D, D, D, D);
    EXPECT_EQ(whole.at(3, 1), 0xC0u);
    EXPECT_EQ(whole.at(22, 10), 0xC0u + 19);
    EXPECT_EQ(whole.at(2, 1), 0xFFFFFFu);
    EXPECT_EQ(whole.at(23, 1), 0xFFFFFFu);
    EXPECT_EQ(whole.at(3, 11), 0xFFFFFFu);

    // sourceX -10 with default sizes: ten untouched columns, then the source's first ten
    // columns; its last ten are cut.
    Canvas shifted(30, 12);
    RuntimeGraphicsDrawPicture(shifted.g.get(), source.picture.get(), 0, 0, D, D, -10, 0, D, D);
    for (i32 x = 0; x < 10; ++x)
        EXPECT_EQ(shifted.at(x, 0), 0xFFFFFFu) << x;
    for (i32 x = 10; x < 20; ++x)
        EXPECT_EQ(shifted.at(x, 5), 0xC0u + static_cast<u32>(x - 10)) << x;
    EXPECT_EQ(shifted.at(20, 5), 0xFFFFFFu);

    // A positive offset shows the rest of the source at the destination's left.
    Canvas offset(30, 12);
    RuntimeGraphicsDrawPicture(offset.g.get(), source.picture.get(), 0, 0, 5, 4, 12, 3, D, D);
    EXPECT_EQ(offset.at(0, 0), 0xC0u + 12);
    EXPECT_EQ(offset.at(4, 3), 0xC0u + 16);
    EXPECT_EQ(offset.at(5, 0), 0xFFFFFFu);
    EXPECT_EQ(offset.at(0, 4), 0xFFFFFFu);

    // Doubling: each source column twice.
    Canvas doubled(30, 12);
    RuntimeGraphicsDrawPicture(doubled.g.get(), source.picture.get(), 0, 0, 8, 2, 0, 0, 4, 1);
    for (i32 x = 0; x < 8; ++x)
        EXPECT_EQ(doubled.at(x, 1), 0xC0u + static_cast<u32>(x / 2)) << x;

    // Nothing for a nil picture or a width below 1.
    Canvas untouched(30, 12);
    RuntimeGraphicsDrawPicture(untouched.g.get(), nullptr, 0, 0, D, D, D, D, D, D);
    RuntimeGraphicsDrawPicture(untouched.g.get(), source.picture.get(), 0, 0, 0, D, D, D, D, D);
    RuntimeGraphicsDrawPicture(untouched.g.get(), source.picture.get(), 0, 0, D, D, 0, 0, -4, D);
    EXPECT_EQ(untouched.painted(), 0);
}

TEST_F(PictureDrawing, APictureDrawsIntoItselfAndThroughWhiteWhenTransparent)
{
    constexpr i32 D = kDefaultArgument;
    StripedSource source;
    RuntimeGraphicsDrawPicture(source.g.get(), source.picture.get(), 10, 0, 5, 5, 0, 0, D, D);
    EXPECT_EQ(source.at(10, 0), 0xC0u);
    EXPECT_EQ(source.at(14, 4), 0xC0u + 4);
    EXPECT_EQ(source.at(15, 4), 0xC0u + 15);

    Canvas stamp(4, 1), target(4, 1);
    graphicsPixelSetter(stamp.g.get(), 1, 0, 0x000000);
    graphicsPixelSetter(target.g.get(), 0, 0, 0xFF0000);
    graphicsPixelSetter(target.g.get(), 1, 0, 0xFF0000);
    pictureTransparentSetter(stamp.picture.get(), 0, 1);
    EXPECT_EQ(pictureTransparentGetter(stamp.picture.get(), 0), 1);
    RuntimeGraphicsDrawPicture(target.g.get(), stamp.picture.get(), 0, 0, D, D, D, D, D, D);
    EXPECT_EQ(target.at(0, 0), 0xFF0000u);  // white in the stamp: the target shows through
    EXPECT_EQ(target.at(1, 0), 0x000000u);
    EXPECT_EQ(target.at(2, 0), 0xFFFFFFu);
}

TEST_F(PictureDrawing, PicturesHaveOneGraphicsThatOutlivesThemHarmlessly)
{
    EXPECT_EQ(newPicture(0, 5, 32), nullptr);
    EXPECT_EQ(newPicture(5, -1, 32), nullptr);
    EXPECT_EQ(newPicture(5, 5, 33), nullptr);

    RuntimeObject* picture = newPicture(7, 5, 8);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(pictureWidthGetter(picture, 0), 7);
    EXPECT_EQ(pictureHeightGetter(picture, 0), 5);
    EXPECT_EQ(PictureDepthGetter(picture, 0), 8);
    RuntimeObject* g = pictureGraphicsGetter(picture, 0);
    RuntimeObject* again = pictureGraphicsGetter(picture, 0);
    EXPECT_EQ(g, again);
    RuntimeUnlockObject(again);
    EXPECT_EQ(graphicsWidthGetter(g, 0), 7);
    EXPECT_EQ(graphicsHeightGetter(g, 0), 5);
    graphicsPenWidthSetter(g, 0, 2);
    RuntimeObject* third = pictureGraphicsGetter(picture, 0);
    EXPECT_EQ(graphicsPenWidthGetter(third, 0), 2) << "state stays with the one Graphics";
    RuntimeUnlockObject(third);
    RuntimeGraphicsDrawLine(g, 0, 0, 6, 4);  // leaves the port current with the bitmap selected

    RuntimeUnlockObject(picture);
    EXPECT_EQ(graphicsWidthGetter(g, 0), 0);
    RuntimeGraphicsFillRect(g, 0, 0, 7, 5);
    EXPECT_EQ(graphicsPixelGetter(g, 0, 0), 0u);
    RuntimeUnlockObject(g);
    EXPECT_TRUE(nothing_raised());
}

TEST_F(PictureDrawing, SystemIconsFillTheirSquareAtTheCorner)
{
    struct Case {
        const char* name;
        void (*draw)(RuntimeObject*, int32_t, int32_t);
    };
    const Case cases[] = {
        {"stop", graphicsDrawStopIcon}, {"note", graphicsDrawNoteIcon}, {"caution", graphicsDrawCautionIcon}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas(48, 48);
        c.draw(canvas.g.get(), 8, 6);
        EXPECT_GT(canvas.painted(), 100) << canvas.image();
        for (i32 y = 0; y < 48; ++y) {
            for (i32 x = 0; x < 48; ++x) {
                if (x < 8 || x >= 40 || y < 6 || y >= 38) {
                    EXPECT_EQ(canvas.at(x, y), 0xFFFFFFu) << x << "," << y;
                }
            }
        }
    }
}

TEST_F(PictureDrawing, NilSelfRaisesNilObjectAndGivesZero)
{
    RuntimeGraphicsDrawLine(nullptr, 0, 0, 1, 1);
    EXPECT_TRUE(raised_once(ExceptionClass::NilObjectException));
    EXPECT_EQ(graphicsForeColorGetter(nullptr, 0), 0u);
    EXPECT_TRUE(raised_once(ExceptionClass::NilObjectException));
    EXPECT_EQ(RuntimeGraphicsStringWidth(nullptr, nullptr), 0);
    EXPECT_TRUE(raised_once(ExceptionClass::NilObjectException));
    EXPECT_EQ(pictureGraphicsGetter(nullptr, 0), nullptr);
    EXPECT_TRUE(raised_once(ExceptionClass::NilObjectException));
    graphicsDrawPolygon(nullptr, nullptr);
    EXPECT_TRUE(raised_once(ExceptionClass::NilObjectException));
}

}  // namespace
}  // namespace qv::graphics::test

// Where the drawing operations put their pixels before GDI is involved: rectangles with
// negative sizes, line plans for rectangular pens, polygon arrays, picture placement and
// colour round trips.
#include <gtest/gtest.h>

#include "graphics/color_components.h"
#include "graphics/drawing_geometry.h"
#include "graphics/picture_placement.h"

namespace qv::graphics {
namespace {

TEST(DrawingGeometry, NegativeSizesReachBackFromTheCorner)
{
    EXPECT_EQ(rect_from_size(10, 20, 5, 6), (Rect{10, 20, 15, 26}));
    EXPECT_EQ(rect_from_size(10, 20, -5, 6), (Rect{5, 20, 10, 26}));
    EXPECT_EQ(rect_from_size(10, 20, 5, -6), (Rect{10, 14, 15, 20}));
    EXPECT_EQ(rect_from_size(10, 20, -5, -6), rect_from_size(5, 14, 5, 6));
    EXPECT_EQ(rect_from_size(3, 4, 0, 0), (Rect{3, 4, 3, 4}));
}

TEST(DrawingGeometry, ALineAndItsReverseHaveOnePlan)
{
    struct Case {
        Point a, b;
    };
    const Case cases[] = {{{0, 0}, {10, 10}}, {{10, 0}, {0, 10}}, {{-3, 4}, {7, -2}}, {{2, 6}, {9, 6}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a.x << "," << c.a.y << " - " << c.b.x << "," << c.b.y);
        const LinePlan forward = plan_line(c.a, c.b, 1, 1);
        const LinePlan backward = plan_line(c.b, c.a, 1, 1);
        EXPECT_LE(forward.from.x, forward.to.x);
        EXPECT_EQ(forward.from, backward.from);
        EXPECT_EQ(forward.to, backward.to);
        EXPECT_TRUE(forward.set_end_pixel);
    }
    // Equal x: drawn from the first point given; with the end pixel set, both ways cover the
    // same pixels.
    EXPECT_EQ(plan_line({5, 9}, {5, 1}, 1, 1).from, (Point{5, 9}));
    EXPECT_EQ(plan_line({5, 1}, {5, 9}, 1, 1).from, (Point{5, 1}));
}

TEST(DrawingGeometry, PenSizesGiveTheGdiWidthAndShift)
{
    struct Case {
        i32 width, height;
        i32 gdi_width;
        Point shift;
        bool end_pixel;
    };
    const Case cases[] = {
        {1, 1, 1, {0, 0}, true},  {3, 1, 2, {1, 0}, false}, {1, 3, 2, {0, 1}, false},
        {4, 4, 4, {2, 2}, false}, {2, 1, 1, {1, 0}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "pen " << c.width << " x " << c.height);
        const LinePlan plan = plan_line({10, 20}, {0, 5}, c.width, c.height);
        EXPECT_EQ(plan.gdi_pen_width, c.gdi_width);
        EXPECT_EQ(plan.from, (Point{0 + c.shift.x, 5 + c.shift.y}));
        EXPECT_EQ(plan.to, (Point{10 + c.shift.x, 20 + c.shift.y}));
        EXPECT_EQ(plan.set_end_pixel, c.end_pixel);
    }
}

TEST(DrawingGeometry, PolygonArraysPairElementsFromOne)
{
    const i32 elements[] = {99, 1, 2, 3, 4, 5, 6, 7};
    EXPECT_EQ(polygon_points(elements, 6), (std::vector<Point>{{1, 2}, {3, 4}, {5, 6}}));
    EXPECT_EQ(polygon_points(elements, 4), (std::vector<Point>{{1, 2}, {3, 4}}));
    EXPECT_EQ(polygon_points(elements, 5), (std::vector<Point>{{1, 2}, {3, 4}}));  // the fifth is ignored
    EXPECT_EQ(polygon_points(elements, 1), std::vector<Point>{});
    EXPECT_EQ(polygon_points(elements, 0), std::vector<Point>{});
    EXPECT_EQ(polygon_points(elements, -1), std::vector<Point>{});
    EXPECT_EQ(polygon_points(nullptr, 6), std::vector<Point>{});
}

constexpr i32 D = kDefaultArgument;

TEST(PicturePlacement, DefaultsTakeThePictureAndDestinationSizes)
{
    EXPECT_EQ(place_picture({5, 6, D, D, D, D, D, D}, 40, 30), (PicturePlacement{5, 6, 40, 30, 0, 0, 40, 30}));
    // The source size follows the destination's, so a larger destination shows more of the
    // picture only as far as it reaches.
    EXPECT_EQ(place_picture({0, 0, 20, 10, 0, 0, D, D}, 40, 30), (PicturePlacement{0, 0, 20, 10, 0, 0, 20, 10}));
    EXPECT_EQ(place_picture({0, 0, 80, 60, 0, 0, 40, 30}, 40, 30), (PicturePlacement{0, 0, 80, 60, 0, 0, 40, 30}));
}

TEST(PicturePlacement, SourceRectanglesAreClippedToThePicture)
{
    struct Case {
        const char* what;
        PicturePlacement requested;
        PicturePlacement placed;
    };
    const Case cases[] = {
        {"negative sourceX moves the picture right and cuts its last columns",
         {0, 0, D, D, -10, 0, D, D},
         {10, 0, 30, 30, 0, 0, 30, 30}},
        {"negative sourceY likewise downwards", {0, 0, D, D, 0, -5, D, D}, {0, 5, 40, 25, 0, 0, 40, 25}},
        {"the shift is scaled by destination over source",
         {0, 0, 80, 30, -10, 0, 40, 30},
         {20, 0, 60, 30, 0, 0, 30, 30}},
        {"a source past the right edge is cut and the destination scaled",
         {0, 0, 60, 30, 20, 0, 30, 30},
         {0, 0, 40, 30, 20, 0, 20, 30}},
        {"past the bottom edge", {0, 0, 40, 30, 0, 20, 40, 15}, {0, 0, 40, 20, 0, 20, 40, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto placed = place_picture(c.requested, 40, 30);
        ASSERT_TRUE(placed.has_value());
        EXPECT_EQ(*placed, c.placed);
    }
}

TEST(PicturePlacement, NothingIsDrawnWithoutAPixelToShow)
{
    const PicturePlacement nothing[] = {
        {0, 0, 0, D, 0, 0, D, D},   {0, 0, D, D, 0, 0, 0, D},  {0, 0, -5, D, 0, 0, D, D},   {0, 0, D, D, 40, 0, D, D},
        {0, 0, D, D, -40, 0, D, D}, {0, 0, D, D, 0, 30, D, D}, {0, 0, D, D, -100, 0, D, D},
    };
    for (const PicturePlacement& p : nothing)
        EXPECT_FALSE(place_picture(p, 40, 30).has_value()) << p.dest_width << " " << p.source_x << " " << p.source_y;
}

TEST(ColorComponents, ColoursRoundTripThroughSixteenBitComponents)
{
    EXPECT_EQ(components_from_color(0x123456), (ColorComponents{0x1212, 0x3434, 0x5656}));
    for (u32 color : {0x000000u, 0x123456u, 0xFFFFFFu, 0x80FF01u, 0x010203u})
        EXPECT_EQ(color_from_components(components_from_color(color)), color) << std::hex << color;
    EXPECT_EQ(color_from_components(components_from_color(0xFF123456u)), 0x123456u);  // the top byte is not a colour
    EXPECT_EQ(colorref_from_color(0x123456), 0x563412u);
    EXPECT_EQ(color_from_colorref(0x563412), 0x123456u);
    // Neither direction carries a top byte: an image's 0xFF000000 bits or GDI's flag bits.
    EXPECT_EQ(colorref_from_color(0xFF123456u), 0x563412u);
    EXPECT_EQ(color_from_colorref(0x02563412u), 0x123456u);
}

}  // namespace
}  // namespace qv::graphics

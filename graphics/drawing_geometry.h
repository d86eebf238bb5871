// Where the drawing operations put their pixels, worked out before any GDI call: rectangles
// from x, y, width, height, the plan of a line for a rectangular pen, and the points of a
// polygon array.
#pragma once

#include <vector>

#include "core/types.h"

namespace qv::graphics {

struct Point {
    i32 x = 0;
    i32 y = 0;
    bool operator==(const Point&) const = default;
};

// GDI's order: left, top, right (exclusive), bottom (exclusive).
struct Rect {
    i32 left = 0;
    i32 top = 0;
    i32 right = 0;
    i32 bottom = 0;
    bool operator==(const Rect&) const = default;
};

// x, y, width, height as a rectangle with left <= right and top <= bottom: a negative width
// or height reaches back from x or y.
Rect rect_from_size(i32 x, i32 y, i32 width, i32 height);

// One line as GDI draws it: from `from` to `to` with a solid pen of `gdi_pen_width`, and,
// because GDI leaves the last point of a line out, the pixel at `to` set separately when the
// pen is 1 x 1.
struct LinePlan {
    Point from;
    Point to;
    i32 gdi_pen_width = 1;
    bool set_end_pixel = false;
};

// The line is always drawn from the end point with the smaller x (the first when both x are
// equal), so a line and its reverse cover the same pixels. A pen wider or taller than one
// pixel is approximated by a round GDI pen of the average size, shifted so that it covers
// the pen rectangle's middle.
LinePlan plan_line(Point first, Point second, i32 pen_width, i32 pen_height);

// The points of a polygon held in a one-dimensional Integer array: elements 1 and 2 are the
// first point's x and y, 3 and 4 the second's, and so on up to `upper_bound`; element 0 is not
// used and an unpaired last element is ignored. `elements` holds elements 0 .. upper_bound.
std::vector<Point> polygon_points(const i32* elements, i32 upper_bound);

}  // namespace qv::graphics

// Rectangles, line plans and polygon points for the drawing operations.
#include "graphics/drawing_geometry.h"

#include <utility>

namespace qv::graphics {

Rect rect_from_size(i32 x, i32 y, i32 width, i32 height)
{
    Rect rect{x, y, x + width, y + height};
    if (rect.left > rect.right)
        std::swap(rect.left, rect.right);
    if (rect.top > rect.bottom)
        std::swap(rect.top, rect.bottom);
    return rect;
}

LinePlan plan_line(Point first, Point second, i32 pen_width, i32 pen_height)
{
    if (second.x < first.x)
        std::swap(first, second);
    const Point shift{pen_width / 2, pen_height / 2};
    LinePlan plan;
    plan.from = {first.x + shift.x, first.y + shift.y};
    plan.to = {second.x + shift.x, second.y + shift.y};
    plan.gdi_pen_width = (pen_width + pen_height) / 2;
    plan.set_end_pixel = pen_width == 1 && pen_height == 1;
    return plan;
}

std::vector<Point> polygon_points(const i32* elements, i32 upper_bound)
{
    std::vector<Point> points;
    if (!elements || upper_bound < 1)
        return points;
    points.reserve(static_cast<size_t>(upper_bound / 2));
    for (i32 i = 1; i + 1 <= upper_bound; i += 2)
        points.push_back({elements[i], elements[i + 1]});
    return points;
}

}  // namespace qv::graphics

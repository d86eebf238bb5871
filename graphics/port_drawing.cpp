// The port's lines, shapes, polygons, pixels, icons and pictures.
#include "graphics/graphics_port.h"

namespace qv::graphics {
namespace {

// Selects a GDI object for one call and puts the previous one back; deletes what it made.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object, bool owned) : m_dc(dc), m_object(object), m_owned(owned)
    {
        m_previous = SelectObject(dc, object);
    }
    ~Selected()
    {
        SelectObject(m_dc, m_previous);
        if (m_owned && m_object)
            DeleteObject(m_object);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_object;
    HGDIOBJ m_previous;
    bool m_owned;
};

Selected solid_pen(HDC dc, i32 width, COLORREF color) { return {dc, CreatePen(PS_SOLID, width, color), true}; }
Selected solid_brush(HDC dc, COLORREF color) { return {dc, CreateSolidBrush(color), true}; }
Selected null_brush(HDC dc) { return {dc, GetStockObject(NULL_BRUSH), false}; }

}  // namespace

void GraphicsPort::draw_line(Point first, Point second)
{
    PortScope scope(*this);
    m_pen_position = second;
    if (!scope.dc())
        return;
    const Point a = device_point(first.x, first.y);
    const Point b = device_point(second.x, second.y);
    const LinePlan plan = plan_line(a, b, m_pen_width, m_pen_height);
    Selected pen = solid_pen(scope.dc(), plan.gdi_pen_width, colorref());
    MoveToEx(scope.dc(), plan.from.x, plan.from.y, nullptr);
    LineTo(scope.dc(), plan.to.x, plan.to.y);
    if (plan.set_end_pixel)
        SetPixelV(scope.dc(), plan.to.x, plan.to.y, colorref());
}

void GraphicsPort::draw_rect(i32 x, i32 y, i32 width, i32 height)
{
    PortScope scope(*this);
    if (!scope.dc())
        return;
    const Rect r = device_rect(x, y, width, height);
    Selected pen = solid_pen(scope.dc(), m_pen_width, colorref());
    Selected brush = null_brush(scope.dc());
    Rectangle(scope.dc(), r.left, r.top, r.right, r.bottom);
}

void GraphicsPort::draw_oval(i32 x, i32 y, i32 width, i32 height)
{
    PortScope scope(*this);
    if (!scope.dc())
        return;
    const Rect r = device_rect(x, y, width, height);
    Selected pen = solid_pen(scope.dc(), m_pen_width, colorref());
    Selected brush = null_brush(scope.dc());
    Ellipse(scope.dc(), r.left, r.top, r.right, r.bottom);
}

void GraphicsPort::draw_round_rect(i32 x, i32 y, i32 width, i32 height, i32 oval_width, i32 oval_height)
{
    PortScope scope(*this);
    if (!scope.dc())
        return;
    const Rect r = device_rect(x, y, width, height);
    Selected pen = solid_pen(scope.dc(), m_pen_width, colorref());
    Selected brush = null_brush(scope.dc());
    RoundRect(scope.dc(), r.left, r.top, r.right, r.bottom, oval_width, oval_height);
}

void GraphicsPort::fill_rect(i32 x, i32 y, i32 width, i32 height)
{
    PortScope scope(*this);
    if (!scope.dc())
        return;
    const Rect r = device_rect(x, y, width, height);
    const RECT area{r.left, r.top, r.right, r.bottom};
    HBRUSH brush = CreateSolidBrush(colorref());
    FillRect(scope.dc(), &area, brush);
    DeleteObject(brush);
}

void GraphicsPort::fill_oval(i32 x, i32 y, i32 width, i32 height)
{
    PortScope scope(*this);
    if (!scope.dc())
        return;
    const Rect r = device_rect(x, y, width, height);
    Selected pen = solid_pen(scope.dc(), 1, colorref());
    Selected brush = solid_brush(scope.dc(), colorref());
    Ellipse(scope.dc(), r.left, r.top, r.right, r.bottom);
}

void GraphicsPort::fill_round_rect(i32 x, i32 y, i32 width, i32 height, i32 oval_width, i32 oval_height)
{
    PortScope scope(*this);
    if (!scope.dc())
        return;
    const Rect r = device_rect(x, y, width, height);
    Selected pen = solid_pen(scope.dc(), m_pen_width, colorref());
    Selected brush = solid_brush(scope.dc(), colorref());
    RoundRect(scope.dc(), r.left, r.top, r.right, r.bottom, oval_width, oval_height);
}

void GraphicsPort::clear_rect(i32 x, i32 y, i32 width, i32 height)
{
    PortScope scope(*this);
    if (!scope.dc())
        return;
    const Rect r = device_rect(x, y, width, height);
    const RECT area{r.left, r.top, r.right, r.bottom};
    bool owned = false;
    HBRUSH brush = m_surface->clear_brush(owned);
    FillRect(scope.dc(), &area, brush);
    if (owned)
        DeleteObject(brush);
}

void GraphicsPort::draw_polygon(const std::vector<Point>& points)
{
    if (points.empty())
        return;
    // Each side is a line of its own, drawn by the line rules; the last one closes the shape.
    for (size_t i = 1; i < points.size(); ++i)
        draw_line(points[i - 1], points[i]);
    draw_line(points.back(), points.front());
}

void GraphicsPort::fill_polygon(const std::vector<Point>& points)
{
    if (points.empty())
        return;
    PortScope scope(*this);
    if (!scope.dc())
        return;
    std::vector<POINT> device(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        const Point p = device_point(points[i].x, points[i].y);
        device[i] = {p.x, p.y};
    }
    Selected pen = solid_pen(scope.dc(), 1, colorref());
    Selected brush = solid_brush(scope.dc(), colorref());
    Polygon(scope.dc(), device.data(), static_cast<int>(device.size()));
}

u32 GraphicsPort::pixel(i32 x, i32 y)
{
    PortScope scope(*this);
    if (!scope.dc())
        return 0;
    const Point p = device_point(x, y);
    const COLORREF value = GetPixel(scope.dc(), p.x, p.y);
    return value == CLR_INVALID ? 0 : color_from_colorref(value);
}

void GraphicsPort::set_pixel(i32 x, i32 y, u32 color)
{
    PortScope scope(*this);
    if (!scope.dc())
        return;
    const Point p = device_point(x, y);
    SetPixelV(scope.dc(), p.x, p.y, colorref_from_color(color));
}

void GraphicsPort::draw_system_icon(u16 icon_id, i32 x, i32 y)
{
    PortScope scope(*this);
    if (!scope.dc())
        return;
    const Point p = device_point(x, y);
    if (HICON icon = LoadIconA(nullptr, MAKEINTRESOURCEA(icon_id)))
        DrawIcon(scope.dc(), p.x, p.y, icon);  // a shared system icon: never destroyed
}

void GraphicsPort::draw_picture(const SourceBitmap& source, const PicturePlacement& requested)
{
    if (!source.bitmap)
        return;
    const std::optional<PicturePlacement> placed = place_picture(requested, source.width, source.height);
    if (!placed)
        return;
    PortScope scope(*this);
    if (!scope.dc())
        return;
    const Point at = device_point(placed->dest_x, placed->dest_y);
    // A picture drawn into its own graphics is already selected into this device context, and
    // a bitmap can be selected into only one.
    const bool own_bitmap = m_surface->bitmap() == source.bitmap;
    HDC source_dc = own_bitmap ? scope.dc() : CreateCompatibleDC(scope.dc());
    if (!source_dc)
        return;
    HGDIOBJ previous = own_bitmap ? nullptr : SelectObject(source_dc, source.bitmap);
    SetStretchBltMode(scope.dc(), COLORONCOLOR);
    if (source.white_is_transparent)
        GdiTransparentBlt(scope.dc(), at.x, at.y, placed->dest_width, placed->dest_height, source_dc, placed->source_x,
                          placed->source_y, placed->source_width, placed->source_height, RGB(255, 255, 255));
    else
        StretchBlt(scope.dc(), at.x, at.y, placed->dest_width, placed->dest_height, source_dc, placed->source_x,
                   placed->source_y, placed->source_width, placed->source_height, SRCCOPY);
    if (!own_bitmap) {
        SelectObject(source_dc, previous);
        DeleteDC(source_dc);
    }
}

void GraphicsPort::next_page()
{
    if (m_surface)
        m_surface->next_page();
}

}  // namespace qv::graphics

// The Graphics methods image code calls: shapes, lines, polygons, pixels, icons, pictures and
// text. Each raises NilObjectException for a nil self and hands the rest to the port.
#include "graphics/graphics_class.h"
#include "graphics/picture_class.h"
#include "runtime/arrays/runtime_array.h"
#include "runtime/objects/exception_foundation.h"

using namespace qv;
using namespace qv::graphics;

namespace {

GraphicsPort* port_or_raise(RuntimeObject* self)
{
    if (!self) {
        RaiseNilObject();
        return nullptr;
    }
    return port_of(self);
}

// The points of a one-dimensional Integer array; none for nil or any other array.
std::vector<Point> points_of(RuntimeArray* array)
{
    if (!array || array->dimensions != 1 || array->elementType != QV_ARRAY_VALUE32 || !array->data)
        return {};
    return polygon_points(static_cast<const i32*>(array->data), array->upperBounds[0]);
}

}  // namespace

extern "C" {

void RuntimeGraphicsClearRect(RuntimeObject* self, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->clear_rect(x, y, width, height);
}

void RuntimeGraphicsDrawLine(RuntimeObject* self, int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->draw_line({x1, y1}, {x2, y2});
}

void RuntimeGraphicsDrawOval(RuntimeObject* self, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->draw_oval(x, y, width, height);
}

void RuntimeGraphicsDrawRect(RuntimeObject* self, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->draw_rect(x, y, width, height);
}

void RuntimeGraphicsDrawRoundRect(RuntimeObject* self, int32_t x, int32_t y, int32_t width, int32_t height,
                                  int32_t ovalWidth, int32_t ovalHeight)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->draw_round_rect(x, y, width, height, ovalWidth, ovalHeight);
}

void RuntimeGraphicsFillOval(RuntimeObject* self, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->fill_oval(x, y, width, height);
}

void RuntimeGraphicsFillRect(RuntimeObject* self, int32_t x, int32_t y, int32_t width, int32_t height)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->fill_rect(x, y, width, height);
}

void RuntimeGraphicsFillRoundRect(RuntimeObject* self, int32_t x, int32_t y, int32_t width, int32_t height,
                                  int32_t ovalWidth, int32_t ovalHeight)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->fill_round_rect(x, y, width, height, ovalWidth, ovalHeight);
}

void RuntimeGraphicsDrawPicture(RuntimeObject* self, RuntimeObject* picture, int32_t x, int32_t y, int32_t destWidth,
                                int32_t destHeight, int32_t sourceX, int32_t sourceY, int32_t sourceWidth,
                                int32_t sourceHeight)
{
    GraphicsPort* port = port_or_raise(self);
    if (!port || !picture)
        return;
    port->draw_picture(picture_source(picture),
                       {x, y, destWidth, destHeight, sourceX, sourceY, sourceWidth, sourceHeight});
}

void RuntimeGraphicsDrawString(RuntimeObject* self, RuntimeString* text, int32_t x, int32_t y, int32_t wrapWidth)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->draw_string(StringRef::share(text), x, y, wrapWidth);
}

void RuntimeGraphicsDrawObjectXY(RuntimeObject* self, RuntimeObject*, int32_t, int32_t) { port_or_raise(self); }

int32_t RuntimeGraphicsStringWidth(RuntimeObject* self, RuntimeString* text)
{
    GraphicsPort* port = port_or_raise(self);
    return port ? port->string_width(StringRef::share(text)) : 0;
}

int32_t RuntimeGraphicsStringHeight(RuntimeObject* self, RuntimeString* text, int32_t wrapWidth)
{
    GraphicsPort* port = port_or_raise(self);
    return port ? port->string_height(StringRef::share(text), wrapWidth) : 0;
}

int32_t RuntimeGraphicsTextHeight(RuntimeObject* self)
{
    GraphicsPort* port = port_or_raise(self);
    return port ? port->text_height() : 0;
}

int32_t RuntimeGraphicsTextAscent(RuntimeObject* self)
{
    GraphicsPort* port = port_or_raise(self);
    return port ? port->text_ascent() : 0;
}

void RuntimeGraphicsNextPage(RuntimeObject* self)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->next_page();
}

void graphicsDrawStopIcon(RuntimeObject* self, int32_t x, int32_t y)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->draw_system_icon(kStopIcon, x, y);
}

void graphicsDrawNoteIcon(RuntimeObject* self, int32_t x, int32_t y)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->draw_system_icon(kNoteIcon, x, y);
}

void graphicsDrawCautionIcon(RuntimeObject* self, int32_t x, int32_t y)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->draw_system_icon(kCautionIcon, x, y);
}

uint32_t graphicsPixelGetter(RuntimeObject* self, int32_t x, int32_t y)
{
    GraphicsPort* port = port_or_raise(self);
    return port ? port->pixel(x, y) : 0;
}

void graphicsPixelSetter(RuntimeObject* self, int32_t x, int32_t y, uint32_t color)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->set_pixel(x, y, color);
}

void graphicsDrawPolygon(RuntimeObject* self, RuntimeArray* points)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->draw_polygon(points_of(points));
}

void graphicsFillPolygon(RuntimeObject* self, RuntimeArray* points)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->fill_polygon(points_of(points));
}

}  // extern "C"

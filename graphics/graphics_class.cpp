// The Graphics class's definition, its lifecycle, and its property accessors.
#include "graphics/graphics_class.h"

#include <new>
#include <utility>

#include "core/once.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/objects/exception_foundation.h"

namespace qv::graphics {
namespace {

#define QV_NO_SETTER nullptr, nullptr

constexpr TypeDescriptor kPictureType = object_type("Picture");
constexpr TypeDescriptor kObjectType = object_type("Object");
constexpr TypeDescriptor kIntegerArrayType = array_type(kIntegerType);

// clang-format off
const PropertyRecord kProperties[] = {
    {0, "ForeColor", &kColorType, QV_ROUTINE(graphicsForeColorGetter), QV_ROUTINE(graphicsForeColorSetter), 0, 0},
    {0, "Width", &kIntegerType, QV_ROUTINE(graphicsWidthGetter), QV_NO_SETTER, 0, 0},
    {0, "Height", &kIntegerType, QV_ROUTINE(graphicsHeightGetter), QV_NO_SETTER, 0, 0},
    {0, "TextFont", &kStringType, QV_ROUTINE(graphicsTextFontGetter), QV_ROUTINE(graphicsTextFontSetter), 0, 0},
    {0, "TextSize", &kIntegerType, QV_ROUTINE(graphicsTextSizeGetter), QV_ROUTINE(graphicsTextSizeSetter), 0, 0},
    {0, "Copies", &kIntegerType, QV_ROUTINE(graphicsCopiesGetter), QV_NO_SETTER, 0, 0},
    {0, "FirstPage", &kIntegerType, QV_ROUTINE(graphicsFirstPageGetter), QV_NO_SETTER, 0, 0},
    {0, "LastPage", &kIntegerType, QV_ROUTINE(graphicsLastPageGetter), QV_NO_SETTER, 0, 0},
    {0, "Bold", &kBooleanType, QV_ROUTINE(graphicsBoldGetter), QV_ROUTINE(graphicsBoldSetter), 0, 0},
    {0, "Italic", &kBooleanType, QV_ROUTINE(graphicsItalicGetter), QV_ROUTINE(graphicsItalicSetter), 0, 0},
    {0, "Underline", &kBooleanType, QV_ROUTINE(graphicsUnderlineGetter), QV_ROUTINE(graphicsUnderlineSetter), 0, 0},
    {0, "PenWidth", &kIntegerType, QV_ROUTINE(graphicsPenWidthGetter), QV_ROUTINE(graphicsPenWidthSetter), 0, 0},
    {0, "PenHeight", &kIntegerType, QV_ROUTINE(graphicsPenHeightGetter), QV_ROUTINE(graphicsPenHeightSetter), 0, 0},
    {0, "UseOldRenderer", &kBooleanType, QV_ROUTINE(graphicsUseOldRendererGetter),
     QV_ROUTINE(graphicsUseOldRendererSetter), 0, 0},
};

const ParameterRecord kRectParameters[] = {
    {"x", &kIntegerType, 0}, {"y", &kIntegerType, 0}, {"width", &kIntegerType, 0}, {"height", &kIntegerType, 0}};
const ParameterRecord kLineParameters[] = {
    {"x1", &kIntegerType, 0}, {"y1", &kIntegerType, 0}, {"x2", &kIntegerType, 0}, {"y2", &kIntegerType, 0}};
const ParameterRecord kRoundRectParameters[] = {
    {"x", &kIntegerType, 0}, {"y", &kIntegerType, 0}, {"width", &kIntegerType, 0}, {"height", &kIntegerType, 0},
    {"ovalWidth", &kIntegerType, 0}, {"ovalHeight", &kIntegerType, 0}};
const ParameterRecord kPictureParameters[] = {
    {"picture", &kPictureType, 0}, {"x", &kIntegerType, 0}, {"y", &kIntegerType, 0},
    {"destWidth", &kIntegerType, 0}, {"destHeight", &kIntegerType, 0}, {"sourceX", &kIntegerType, 0},
    {"sourceY", &kIntegerType, 0}, {"sourceWidth", &kIntegerType, 0}, {"sourceHeight", &kIntegerType, 0}};
const ParameterRecord kStringParameters[] = {
    {"text", &kStringType, 0}, {"x", &kIntegerType, 0}, {"y", &kIntegerType, 0}, {"wrapWidth", &kIntegerType, 0}};
const ParameterRecord kObjectParameters[] = {
    {"object", &kObjectType, 0}, {"x", &kIntegerType, 0}, {"y", &kIntegerType, 0}};
const ParameterRecord kTextParameter[] = {{"text", &kStringType, 0}};
const ParameterRecord kTextWrapParameters[] = {{"text", &kStringType, 0}, {"wrapWidth", &kIntegerType, 0}};
const ParameterRecord kPointParameters[] = {{"x", &kIntegerType, 0}, {"y", &kIntegerType, 0}};
const ParameterRecord kPointsParameter[] = {{"points", &kIntegerArrayType, 0}};

const MethodRecord kMethods[] = {
    {"ClearRect", nullptr, kRectParameters, 4, QV_ROUTINE(RuntimeGraphicsClearRect), nullptr, nullptr, 0},
    {"DrawLine", nullptr, kLineParameters, 4, QV_ROUTINE(RuntimeGraphicsDrawLine), nullptr, nullptr, 0},
    {"DrawOval", nullptr, kRectParameters, 4, QV_ROUTINE(RuntimeGraphicsDrawOval), nullptr, nullptr, 0},
    {"DrawRect", nullptr, kRectParameters, 4, QV_ROUTINE(RuntimeGraphicsDrawRect), nullptr, nullptr, 0},
    {"DrawRoundRect", nullptr, kRoundRectParameters, 6, QV_ROUTINE(RuntimeGraphicsDrawRoundRect), nullptr, nullptr, 0},
    {"FillOval", nullptr, kRectParameters, 4, QV_ROUTINE(RuntimeGraphicsFillOval), nullptr, nullptr, 0},
    {"FillRect", nullptr, kRectParameters, 4, QV_ROUTINE(RuntimeGraphicsFillRect), nullptr, nullptr, 0},
    {"FillRoundRect", nullptr, kRoundRectParameters, 6, QV_ROUTINE(RuntimeGraphicsFillRoundRect), nullptr, nullptr, 0},
    {"DrawPicture", nullptr, kPictureParameters, 9, QV_ROUTINE(RuntimeGraphicsDrawPicture), nullptr, nullptr, 0},
    {"DrawString", nullptr, kStringParameters, 4, QV_ROUTINE(RuntimeGraphicsDrawString), nullptr, nullptr, 0},
    {"DrawObject", nullptr, kObjectParameters, 3, QV_ROUTINE(RuntimeGraphicsDrawObjectXY), nullptr, nullptr, 0},
    {"StringWidth", &kIntegerType, kTextParameter, 1, QV_ROUTINE(RuntimeGraphicsStringWidth), nullptr, nullptr, 0},
    {"StringHeight", &kIntegerType, kTextWrapParameters, 2, QV_ROUTINE(RuntimeGraphicsStringHeight), nullptr, nullptr,
     0},
    {"TextHeight", &kIntegerType, nullptr, 0, QV_ROUTINE(RuntimeGraphicsTextHeight), nullptr, nullptr, 0},
    {"TextAscent", &kIntegerType, nullptr, 0, QV_ROUTINE(RuntimeGraphicsTextAscent), nullptr, nullptr, 0},
    {"NextPage", nullptr, nullptr, 0, QV_ROUTINE(RuntimeGraphicsNextPage), nullptr, nullptr, 0},
    {"DrawStopIcon", nullptr, kPointParameters, 2, QV_ROUTINE(graphicsDrawStopIcon), nullptr, nullptr, 0},
    {"DrawNoteIcon", nullptr, kPointParameters, 2, QV_ROUTINE(graphicsDrawNoteIcon), nullptr, nullptr, 0},
    {"DrawCautionIcon", nullptr, kPointParameters, 2, QV_ROUTINE(graphicsDrawCautionIcon), nullptr, nullptr, 0},
    {"Pixel", &kColorType, kPointParameters, 2, QV_ROUTINE(graphicsPixelGetter), QV_ROUTINE(graphicsPixelSetter), 0},
    {"DrawPolygon", nullptr, kPointsParameter, 1, QV_ROUTINE(graphicsDrawPolygon), nullptr, nullptr, 0},
    {"FillPolygon", nullptr, kPointsParameter, 1, QV_ROUTINE(graphicsFillPolygon), nullptr, nullptr, 0},
};
// clang-format on

const ClassTables kTables[] = {{kProperties, kMethods}};

ObjectDefinition s_definition;

void finalize_graphics(RuntimeObject* object)
{
    auto* fields = reinterpret_cast<GraphicsObject*>(object);
    delete std::exchange(fields->port, nullptr);
}

// The port of self for an accessor; raises for nil self.
GraphicsPort* port_or_raise(RuntimeObject* self)
{
    if (!self) {
        RaiseNilObject();
        return nullptr;
    }
    return port_of(self);
}

GraphicsObject* fields_or_raise(RuntimeObject* self)
{
    if (!self) {
        RaiseNilObject();
        return nullptr;
    }
    return reinterpret_cast<GraphicsObject*>(self);
}

}  // namespace

ClassTableList graphics_class_tables() { return kTables; }

ObjectDefinition* graphics_definition()
{
    static Once s_once;
    s_once([] {
        DefinitionSource source{};
        source.name = "Graphics";
        source.instance_size = sizeof(GraphicsObject);
        source.properties = kProperties;
        source.methods = kMethods;
        source.finalizer = &finalize_graphics;
        build_definition(s_definition, source);
    });
    return &s_definition;
}

RuntimeObject* new_graphics(std::unique_ptr<Surface> surface)
{
    auto* port = new (std::nothrow) GraphicsPort(std::move(surface));
    if (!port)
        return nullptr;
    RuntimeObject* object = CreateInstance(graphics_definition());
    if (!object) {
        delete port;
        return nullptr;
    }
    reinterpret_cast<GraphicsObject*>(object)->port = port;
    return object;
}

GraphicsPort* port_of(RuntimeObject* graphics)
{
    return graphics ? reinterpret_cast<GraphicsObject*>(graphics)->port : nullptr;
}

void detach_graphics_surface(RuntimeObject* graphics)
{
    if (GraphicsPort* port = port_of(graphics))
        port->detach_surface();
}

}  // namespace qv::graphics

using namespace qv;
using namespace qv::graphics;

extern "C" {

uint32_t graphicsForeColorGetter(RuntimeObject* self, int32_t)
{
    GraphicsPort* port = port_or_raise(self);
    return port ? port->fore_color() : 0;
}

void graphicsForeColorSetter(RuntimeObject* self, int32_t, uint32_t color)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->set_fore_color(color);
}

int32_t graphicsWidthGetter(RuntimeObject* self, int32_t)
{
    GraphicsPort* port = port_or_raise(self);
    return port ? port->width() : 0;
}

int32_t graphicsHeightGetter(RuntimeObject* self, int32_t)
{
    GraphicsPort* port = port_or_raise(self);
    return port ? port->height() : 0;
}

RuntimeString* graphicsTextFontGetter(RuntimeObject* self, int32_t)
{
    GraphicsPort* port = port_or_raise(self);
    return port ? port->text_font().leak() : nullptr;
}

void graphicsTextFontSetter(RuntimeObject* self, int32_t, RuntimeString* name)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->set_text_font(StringRef::share(name));
}

int32_t graphicsTextSizeGetter(RuntimeObject* self, int32_t)
{
    GraphicsPort* port = port_or_raise(self);
    return port ? port->text_size() : 0;
}

void graphicsTextSizeSetter(RuntimeObject* self, int32_t, int32_t points)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->set_text_size(points);
}

int32_t graphicsCopiesGetter(RuntimeObject* self, int32_t)
{
    GraphicsObject* fields = fields_or_raise(self);
    return fields ? fields->copies : 0;
}

int32_t graphicsFirstPageGetter(RuntimeObject* self, int32_t)
{
    GraphicsObject* fields = fields_or_raise(self);
    return fields ? fields->firstPage : 0;
}

int32_t graphicsLastPageGetter(RuntimeObject* self, int32_t)
{
    GraphicsObject* fields = fields_or_raise(self);
    return fields ? fields->lastPage : 0;
}

int32_t graphicsBoldGetter(RuntimeObject* self, int32_t)
{
    GraphicsPort* port = port_or_raise(self);
    return port && port->has_style(kStyleBold);
}

void graphicsBoldSetter(RuntimeObject* self, int32_t, int32_t on)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->set_style(kStyleBold, (on & 0xFF) != 0);
}

int32_t graphicsItalicGetter(RuntimeObject* self, int32_t)
{
    GraphicsPort* port = port_or_raise(self);
    return port && port->has_style(kStyleItalic);
}

void graphicsItalicSetter(RuntimeObject* self, int32_t, int32_t on)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->set_style(kStyleItalic, (on & 0xFF) != 0);
}

int32_t graphicsUnderlineGetter(RuntimeObject* self, int32_t)
{
    GraphicsPort* port = port_or_raise(self);
    return port && port->has_style(kStyleUnderline);
}

void graphicsUnderlineSetter(RuntimeObject* self, int32_t, int32_t on)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->set_style(kStyleUnderline, (on & 0xFF) != 0);
}

int32_t graphicsPenWidthGetter(RuntimeObject* self, int32_t)
{
    GraphicsPort* port = port_or_raise(self);
    return port ? port->pen_width() : 0;
}

void graphicsPenWidthSetter(RuntimeObject* self, int32_t, int32_t width)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->set_pen_size(width, port->pen_height());
}

int32_t graphicsPenHeightGetter(RuntimeObject* self, int32_t)
{
    GraphicsPort* port = port_or_raise(self);
    return port ? port->pen_height() : 0;
}

void graphicsPenHeightSetter(RuntimeObject* self, int32_t, int32_t height)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->set_pen_size(port->pen_width(), height);
}

// There is no newer renderer here, so the flag stays 0 and the getter always answers True.
int32_t graphicsUseOldRendererGetter(RuntimeObject* self, int32_t)
{
    GraphicsPort* port = port_or_raise(self);
    return port && !port->new_renderer();
}

void graphicsUseOldRendererSetter(RuntimeObject* self, int32_t, int32_t)
{
    if (GraphicsPort* port = port_or_raise(self))
        port->set_new_renderer(false);
}

}  // extern "C"

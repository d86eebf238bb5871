// Pictures: a top-down 32-bit DIB section, white when made, and the Graphics object that
// draws into it through a memory device context made while its port is current.
//
// The picture holds one count on its Graphics, and the Graphics' port refers back to the
// picture without one: a cycle of counts would keep both alive forever. So when the picture
// goes, it detaches the port's surface first; a Graphics that image code still holds then
// draws nothing, and no port ever reaches a freed bitmap.
#include "graphics/picture_class.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "core/once.h"
#include "graphics/bmp_file.h"
#include "graphics/graphics_class.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/objects/exception_foundation.h"
#include "runtime/objects/object_ref.h"

namespace qv::graphics {
namespace {

struct PictureObject {
    RuntimeObject header;
    HBITMAP bitmap;
    u32* pixels;
    i32 width;
    i32 height;
    i32 depth;
    RuntimeObject* graphics;  // one count; made on first request
    u8 transparent;
};

PictureObject* fields(RuntimeObject* picture) { return reinterpret_cast<PictureObject*>(picture); }

class PictureSurface final : public Surface {
public:
    explicit PictureSurface(PictureObject* picture) : m_picture(picture) { }

    HDC acquire_dc(bool& created) override
    {
        created = false;
        HDC dc = CreateCompatibleDC(nullptr);
        if (!dc)
            return nullptr;
        m_previous = SelectObject(dc, m_picture->bitmap);
        created = true;
        return dc;
    }
    void release_dc(HDC dc) override
    {
        SelectObject(dc, m_previous);
        DeleteDC(dc);
    }
    i32 width() override { return m_picture->width; }
    i32 height() override { return m_picture->height; }
    HBITMAP bitmap() override { return m_picture->bitmap; }

private:
    PictureObject* m_picture;  // no count: the picture detaches this surface before it goes
    HGDIOBJ m_previous = nullptr;
};

bool make_bitmap(PictureObject* picture, i32 width, i32 height, i32 depth)
{
    if (width < 1 || height < 1 || depth < 1 || depth > 32)
        return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits)
        return false;
    // White with the unused fourth byte 0, as GDI writes pixels: some blits compare whole words.
    std::fill_n(static_cast<u32*>(bits), static_cast<size_t>(width) * static_cast<size_t>(height), 0x00FFFFFFu);
    picture->bitmap = bitmap;
    picture->pixels = static_cast<u32*>(bits);
    picture->width = width;
    picture->height = height;
    picture->depth = depth;
    return true;
}

void finalize_picture(RuntimeObject* object)
{
    PictureObject* picture = fields(object);
    if (const ObjectRef graphics = ObjectRef::adopt(std::exchange(picture->graphics, nullptr)); !graphics.is_nil())
        detach_graphics_surface(graphics.get());
    if (picture->bitmap)
        DeleteObject(std::exchange(picture->bitmap, nullptr));
    picture->pixels = nullptr;
}

PictureObject* fields_or_raise(RuntimeObject* self)
{
    if (!self) {
        RaiseNilObject();
        return nullptr;
    }
    return fields(self);
}

#define QV_NO_SETTER nullptr, nullptr

constexpr TypeDescriptor kGraphicsType = object_type("Graphics");

// clang-format off
const PropertyRecord kProperties[] = {
    {0, "Width", &kIntegerType, QV_ROUTINE(pictureWidthGetter), QV_NO_SETTER, 0, 0},
    {0, "Height", &kIntegerType, QV_ROUTINE(pictureHeightGetter), QV_NO_SETTER, 0, 0},
    {0, "Depth", &kIntegerType, QV_ROUTINE(PictureDepthGetter), QV_NO_SETTER, 0, 0},
    {0, "Graphics", &kGraphicsType, QV_ROUTINE(pictureGraphicsGetter), QV_NO_SETTER, 0, 0},
    {0, "Transparent", &kIntegerType, QV_ROUTINE(pictureTransparentGetter), QV_ROUTINE(pictureTransparentSetter), 0,
     0},
};

const ParameterRecord kConstructorParameters[] = {
    {"width", &kIntegerType, 0}, {"height", &kIntegerType, 0}, {"depth", &kIntegerType, 0}};

const MethodRecord kMethods[] = {
    {"Picture", nullptr, kConstructorParameters, 3, QV_ROUTINE(PictureConstructor), nullptr, nullptr, 0},
};
// clang-format on

const ClassTables kTables[] = {{kProperties, kMethods}};

ObjectDefinition s_definition;

}  // namespace

ClassTableList picture_class_tables() { return kTables; }

ObjectDefinition* picture_definition()
{
    static Once s_once;
    s_once([] {
        DefinitionSource source{};
        source.name = "Picture";
        source.instance_size = sizeof(PictureObject);
        source.properties = kProperties;
        source.methods = kMethods;
        source.finalizer = &finalize_picture;
        build_definition(s_definition, source);
    });
    return &s_definition;
}

SourceBitmap picture_source(RuntimeObject* picture)
{
    if (!picture || !fields(picture)->bitmap)
        return {};
    const PictureObject* p = fields(picture);
    return {p->bitmap, p->width, p->height, p->transparent == 1};
}

const u32* picture_pixels(RuntimeObject* picture) { return picture ? fields(picture)->pixels : nullptr; }

namespace {

RuntimeObject* picture_from_decoded(const std::optional<DecodedBitmap>& bitmap)
{
    if (!bitmap)
        return nullptr;
    RuntimeObject* object = newPicture(bitmap->width, bitmap->height, bitmap->depth);
    if (object)
        std::copy(bitmap->pixels.begin(), bitmap->pixels.end(), fields(object)->pixels);
    return object;
}

}  // namespace

RuntimeObject* picture_from_bmp_file(std::span<const u8> file) { return picture_from_decoded(decode_bmp_file(file)); }

RuntimeObject* picture_from_dib(std::span<const u8> dib) { return picture_from_decoded(decode_dib(dib)); }

std::vector<u8> picture_dib(RuntimeObject* picture)
{
    if (!picture || !fields(picture)->pixels)
        return {};
    const PictureObject* p = fields(picture);
    GdiFlush();  // what GDI drew into the bitmap is in its pixels
    return encode_dib(p->width, p->height,
                      {p->pixels, static_cast<size_t>(p->width) * static_cast<size_t>(p->height)});
}

}  // namespace qv::graphics

using namespace qv;
using namespace qv::graphics;

extern "C" {

RuntimeObject* newPicture(int32_t width, int32_t height, int32_t depth)
{
    ObjectRef object = ObjectRef::adopt(CreateInstance(picture_definition()));
    if (!object.is_nil() && !make_bitmap(fields(object.get()), width, height, depth))
        return nullptr;
    return object.leak();
}

// A picture made with New: it stays empty (0 x 0, no Graphics) when the size is refused.
void PictureConstructor(RuntimeObject* self, int32_t width, int32_t height, int32_t depth)
{
    PictureObject* picture = fields_or_raise(self);
    if (picture && !picture->bitmap)
        make_bitmap(picture, width, height, depth);
}

int32_t pictureWidthGetter(RuntimeObject* self, int32_t)
{
    PictureObject* picture = fields_or_raise(self);
    return picture ? picture->width : 0;
}

int32_t pictureHeightGetter(RuntimeObject* self, int32_t)
{
    PictureObject* picture = fields_or_raise(self);
    return picture ? picture->height : 0;
}

int32_t PictureDepthGetter(RuntimeObject* self, int32_t)
{
    PictureObject* picture = fields_or_raise(self);
    return picture ? picture->depth : 0;
}

RuntimeObject* pictureGraphicsGetter(RuntimeObject* self, int32_t)
{
    PictureObject* picture = fields_or_raise(self);
    if (!picture || !picture->bitmap)
        return nullptr;
    if (!picture->graphics) {
        auto surface = std::unique_ptr<PictureSurface>(new (std::nothrow) PictureSurface(picture));
        if (!surface)
            return nullptr;
        picture->graphics = new_graphics(std::move(surface));
    }
    return ObjectRef::share(picture->graphics).leak();
}

int32_t pictureTransparentGetter(RuntimeObject* self, int32_t)
{
    PictureObject* picture = fields_or_raise(self);
    return picture ? picture->transparent : 0;
}

void pictureTransparentSetter(RuntimeObject* self, int32_t, int32_t transparent)
{
    if (PictureObject* picture = fields_or_raise(self))
        picture->transparent = static_cast<u8>(transparent);
}

}  // extern "C"

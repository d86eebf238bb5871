// The list of the graphics routines and the start-up hook that registers them and the classes.
#include "graphics/graphics_routines.h"

#include "framework/startup/windows_startup.h"
#include "graphics/graphics_class.h"
#include "graphics/picture_class.h"
#include "graphics/window_graphics.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/exports/bitmap_resources.h"
#include "ui/graphics_bridge.h"

namespace qv::graphics {
namespace {

#define QV_PROVIDED(name)                       \
    {                                           \
#name, reinterpret_cast < void*>(&name) \
    }

// clang-format off
const ProvidedRoutine kRoutines[] = {
    QV_PROVIDED(graphicsForeColorGetter),
    QV_PROVIDED(graphicsForeColorSetter),
    QV_PROVIDED(graphicsWidthGetter),
    QV_PROVIDED(graphicsHeightGetter),
    QV_PROVIDED(graphicsTextFontGetter),
    QV_PROVIDED(graphicsTextFontSetter),
    QV_PROVIDED(graphicsTextSizeGetter),
    QV_PROVIDED(graphicsTextSizeSetter),
    QV_PROVIDED(graphicsCopiesGetter),
    QV_PROVIDED(graphicsFirstPageGetter),
    QV_PROVIDED(graphicsLastPageGetter),
    QV_PROVIDED(graphicsBoldGetter),
    QV_PROVIDED(graphicsBoldSetter),
    QV_PROVIDED(graphicsItalicGetter),
    QV_PROVIDED(graphicsItalicSetter),
    QV_PROVIDED(graphicsUnderlineGetter),
    QV_PROVIDED(graphicsUnderlineSetter),
    QV_PROVIDED(graphicsPenWidthGetter),
    QV_PROVIDED(graphicsPenWidthSetter),
    QV_PROVIDED(graphicsPenHeightGetter),
    QV_PROVIDED(graphicsPenHeightSetter),
    QV_PROVIDED(graphicsUseOldRendererGetter),
    QV_PROVIDED(graphicsUseOldRendererSetter),
    QV_PROVIDED(RuntimeGraphicsClearRect),
    QV_PROVIDED(RuntimeGraphicsDrawLine),
    QV_PROVIDED(RuntimeGraphicsDrawOval),
    QV_PROVIDED(RuntimeGraphicsDrawRect),
    QV_PROVIDED(RuntimeGraphicsDrawRoundRect),
    QV_PROVIDED(RuntimeGraphicsFillOval),
    QV_PROVIDED(RuntimeGraphicsFillRect),
    QV_PROVIDED(RuntimeGraphicsFillRoundRect),
    QV_PROVIDED(RuntimeGraphicsDrawPicture),
    QV_PROVIDED(RuntimeGraphicsDrawString),
    QV_PROVIDED(RuntimeGraphicsDrawObjectXY),
    QV_PROVIDED(RuntimeGraphicsStringWidth),
    QV_PROVIDED(RuntimeGraphicsStringHeight),
    QV_PROVIDED(RuntimeGraphicsTextHeight),
    QV_PROVIDED(RuntimeGraphicsTextAscent),
    QV_PROVIDED(RuntimeGraphicsNextPage),
    QV_PROVIDED(graphicsDrawStopIcon),
    QV_PROVIDED(graphicsDrawNoteIcon),
    QV_PROVIDED(graphicsDrawCautionIcon),
    QV_PROVIDED(graphicsPixelGetter),
    QV_PROVIDED(graphicsPixelSetter),
    QV_PROVIDED(graphicsDrawPolygon),
    QV_PROVIDED(graphicsFillPolygon),
    QV_PROVIDED(newPicture),
    QV_PROVIDED(PictureConstructor),
    QV_PROVIDED(pictureWidthGetter),
    QV_PROVIDED(pictureHeightGetter),
    QV_PROVIDED(PictureDepthGetter),
    QV_PROVIDED(pictureGraphicsGetter),
    QV_PROVIDED(pictureTransparentGetter),
    QV_PROVIDED(pictureTransparentSetter),
};
// clang-format on

RuntimeObject* make_for_ui(const ui::GraphicsSurface& surface)
{
    WindowSurfaceOptions options;
    options.paint_dc = static_cast<HDC>(surface.paint_dc);
    options.left = surface.left;
    options.top = surface.top;
    options.width = surface.width;
    options.height = surface.height;
    if (surface.has_background)
        options.background = static_cast<COLORREF>(surface.background);
    return make_window_graphics(static_cast<HWND>(surface.window), options);
}

RuntimeObject* make_bitmap_resource_picture(const u8* data, u32 length)
{
    return picture_from_bmp_file({data, length});
}

void register_graphics_classes()
{
    RegisterDefinition(graphics_definition());
    RegisterDefinition(picture_definition());
    // Paint events of windows and canvases draw through Graphics objects made here.
    ui::set_graphics_factory({&make_for_ui, &detach_graphics_surface});
    // The image's "BMP " resources become pictures.
    set_bitmap_resource_maker(&make_bitmap_resource_picture);
}

}  // namespace

std::span<const ProvidedRoutine> graphics_routines() { return kRoutines; }

void register_graphics()
{
    static bool s_done = false;
    if (s_done)
        return;
    s_done = true;
    add_provided_routines(graphics_routines());
    add_class_registrar(&register_graphics_classes);
}

}  // namespace qv::graphics

// The list of the graphics routines and the start-up hook that registers them and the classes.
#include "graphics/graphics_routines.h"

#include "core/once.h"
#include "framework/startup/windows_startup.h"
#include "graphics/graphics_class.h"
#include "graphics/picture_class.h"
#include "graphics/picture_placement.h"
#include "graphics/window_graphics.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/exports/bitmap_resources.h"
#include "ui/graphics_bridge.h"

namespace qv::graphics {
namespace {

// Graphics and Picture name the rest in their tables.
const ProvidedRoutine kRoutines[] = {
    QV_PROVIDED(newPicture),
};

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

void draw_picture_at(RuntimeObject* graphics, RuntimeObject* picture, i32 x, i32 y)
{
    RuntimeGraphicsDrawPicture(graphics, picture, x, y, kDefaultArgument, kDefaultArgument, 0, 0, kDefaultArgument,
                               kDefaultArgument);
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
    ui::graphics_factory_seam().install({&make_for_ui, &detach_graphics_surface, &draw_picture_at});
    // The image's "BMP " resources become pictures.
    set_bitmap_resource_maker(&make_bitmap_resource_picture);
}

}  // namespace

std::span<const ProvidedRoutine> graphics_routines() { return kRoutines; }

std::vector<ProvidedRoutine> graphics_table_routines()
{
    return table_routines({graphics_class_tables(), picture_class_tables()});
}

void register_graphics()
{
    static Once s_once;
    s_once([] {
        add_provided_routines(graphics_routines());
        add_table_routines(graphics_table_routines());
        add_class_registrar(&register_graphics_classes);
    });
}

}  // namespace qv::graphics

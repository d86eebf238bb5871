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
#include "runtime/memory/pool_allocator.h"
#include "ui/clipboard/clipboard_class.h"
#include "ui/clipboard/system_clipboard.h"
#include "ui/graphics_bridge.h"
#include "ui/windows/window_layer.h"

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

// Window.DrawInto's copy of a window, placed like a picture of its size.
void draw_bitmap(RuntimeObject* graphics, void* bitmap, i32 width, i32 height, i32 x, i32 y)
{
    GraphicsPort* port = port_of(graphics);
    if (!port)
        return;
    PicturePlacement placement;
    placement.dest_x = x;
    placement.dest_y = y;
    port->draw_picture({static_cast<HBITMAP>(bitmap), width, height, false}, placement);
}

RuntimeObject* make_bitmap_resource_picture(const u8* data, u32 length)
{
    return picture_from_bmp_file({data, length});
}

RuntimeObject* picture_from_clipboard(const u8* dib, u32 size) { return picture_from_dib({dib, size}); }

// The clipboard is open (the Clipboard object holds it) and is not emptied: a picture joins
// what the same object wrote before.
void put_picture_on_clipboard(RuntimeObject* picture)
{
    ui::SystemClipboard* clipboard = ui::system_clipboard();
    const std::vector<u8> dib = picture_dib(picture);
    if (clipboard && !dib.empty())
        clipboard->put(ui::kClipboardDib, dib);
}

// Memory has run out: the drawing objects kept between uses go before the report.
void release_drawing_objects()
{
    release_current_port();
    ui::release_control_colour_brush();
}

void register_graphics_classes()
{
    RegisterDefinition(graphics_definition());
    RegisterDefinition(picture_definition());
    // Paint events of windows and canvases draw through Graphics objects made here.
    ui::graphics_factory_seam().install({&make_for_ui, &detach_graphics_surface, &draw_picture_at, &draw_bitmap});
    // The image's "BMP " resources become pictures.
    set_bitmap_resource_maker(&make_bitmap_resource_picture);
    set_out_of_memory_release_hook(&release_drawing_objects);
    // Clipboard.Picture reads and writes pictures made here.
    ui::clipboard_picture_seam().install({&picture_from_clipboard, &put_picture_on_clipboard});
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

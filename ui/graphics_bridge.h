// Paint events and Graphics properties hand the image Graphics objects, which the graphics
// layer above makes: it installs its factory when its classes are registered. Without it (a
// program without graphics) there is no Graphics: Paint does not fire and the properties are
// nil.
#pragma once

#include "core/seam.h"
#include "core/types.h"
#include "sdk/quaver.h"

namespace qv::ui {

// Where a Graphics object draws: an HWND, through `paint_dc` (the HDC of a paint in progress,
// or null for the window's own device context), in the area at (left, top) of the given size
// (negative: the whole client area); ClearRect fills with `background` (a COLORREF) when
// `has_background`, else with the system's face colour.
struct GraphicsSurface {
    void* window = nullptr;
    void* paint_dc = nullptr;
    i32 left = 0;
    i32 top = 0;
    i32 width = -1;
    i32 height = -1;
    bool has_background = false;
    u32 background = 0;
};

struct GraphicsFactory {
    // A new Graphics object (one count), or nil when it cannot be made.
    RuntimeObject* (*make)(const GraphicsSurface& surface);
    // The surface is going away: the object draws nothing from now on (counts are untouched).
    void (*detach)(RuntimeObject* graphics);
    // Draws a Picture in its own size with its top-left corner at (x, y).
    void (*draw_picture)(RuntimeObject* graphics, RuntimeObject* picture, i32 x, i32 y);
    // Draws a whole bitmap (an HBITMAP) into the graphics with its top-left corner at (x, y).
    void (*draw_bitmap)(RuntimeObject* graphics, void* bitmap, i32 width, i32 height, i32 x, i32 y);
};

Seam<GraphicsFactory>& graphics_factory_seam();
// Nil when no factory is installed.
RuntimeObject* make_graphics(const GraphicsSurface& surface);
void detach_graphics(RuntimeObject* graphics);
// Does nothing without a factory or a picture.
void draw_picture(RuntimeObject* graphics, RuntimeObject* picture, i32 x, i32 y);
// Nothing when no factory is installed or the graphics is nil.
void draw_bitmap_into(RuntimeObject* graphics, void* bitmap, i32 width, i32 height, i32 x, i32 y);

}  // namespace qv::ui

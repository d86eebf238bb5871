// The built-in Graphics class: an object that owns a drawing port (GraphicsPort) and the
// printing fields image code reads.
#pragma once

#include <cstddef>
#include <memory>

#include "graphics/graphics_port.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/definitions/object_definition.h"

namespace qv::graphics {

struct GraphicsObject {
    RuntimeObject header;
    GraphicsPort* port;  // owned; null for an object made without a surface
    i32 copies;
    i32 firstPage;
    i32 lastPage;
};
static_assert(offsetof(GraphicsObject, port) == 28);
static_assert(offsetof(GraphicsObject, copies) == 32);
static_assert(sizeof(GraphicsObject) == 44);

ObjectDefinition* graphics_definition();
// The class's tables, which name its exported routines.
ClassTableList graphics_class_tables();

// A new Graphics object (one count) drawing on the surface, or null when memory runs out.
RuntimeObject* new_graphics(std::unique_ptr<Surface> surface);

// The object's port; null for nil (no raise) or an object without one.
GraphicsPort* port_of(RuntimeObject* graphics);

// Drops the graphics' surface: its window or picture is going away.
void detach_graphics_surface(RuntimeObject* graphics);

}  // namespace qv::graphics

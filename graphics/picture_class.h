// The built-in Picture class: a 32-bit bitmap of a fixed size, and the one Graphics object
// that draws into it.
#pragma once

#include <span>
#include <vector>

#include "graphics/graphics_port.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/definitions/object_definition.h"

namespace qv::graphics {

ObjectDefinition* picture_definition();
// The class's tables, which name its exported routines.
ClassTableList picture_class_tables();

// The picture's bitmap for DrawPicture; no bitmap for a nil or empty picture.
SourceBitmap picture_source(RuntimeObject* picture);

// The picture's pixels, top row first, each 0x00RRGGBB; null for a nil or empty picture.
// Valid until the picture is freed; GdiFlush() before reading what GDI drew.
const u32* picture_pixels(RuntimeObject* picture);

// A new picture (one count) showing a whole bitmap file, of the file's size and depth; nil when
// the file is not one decode_bmp_file reads.
RuntimeObject* picture_from_bmp_file(std::span<const u8> file);
// The same for a device-independent bitmap as the clipboard carries it (CF_DIB).
RuntimeObject* picture_from_dib(std::span<const u8> dib);
// The picture's pixels as such a block; empty for a nil or empty picture.
std::vector<u8> picture_dib(RuntimeObject* picture);

}  // namespace qv::graphics

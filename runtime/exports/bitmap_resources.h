// Bitmap resources become Picture objects, a class of the graphics layer, which the runtime
// cannot name: the graphics layer installs the maker when its classes register. Without one
// (a program without graphics) every bitmap lookup answers nil.
#pragma once

#include "core/types.h"
#include "sdk/quaver.h"

namespace qv {

// A new picture (one count) from a whole bitmap file, or nil when the data is not one it reads.
using BitmapResourceMaker = RuntimeObject* (*)(const u8* data, u32 length);

void set_bitmap_resource_maker(BitmapResourceMaker maker);

}  // namespace qv

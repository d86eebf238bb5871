// "CURS" resources become MouseCursor objects, a class of the application layer, which the
// runtime cannot name: that layer installs the maker when its classes register. Without one
// every cursor lookup answers nil.
#pragma once

#include "core/seam.h"
#include "core/types.h"
#include "sdk/quaver.h"

namespace qv {

// A new cursor (one count) from the resource's data, or nil when it makes none.
using CursorResourceMaker = RuntimeObject* (*)(const u8* data, u32 length);

Seam<CursorResourceMaker>& cursor_resource_seam();

}  // namespace qv

// The built-in MouseCursor class: an object over one native cursor, either a system cursor
// (shared, never destroyed) or one made from an image resource (destroyed with its object).
// The application, windows and controls hold these in their MouseCursor properties.
#pragma once

#include <cstddef>

#include "platform/win32/windows_api.h"

#include "core/types.h"
#include "sdk/quaver.h"

namespace qv {

struct MouseCursorObject {
    RuntimeObject header;
    HCURSOR handle;
    u8 owned;  // the handle was made for this object and goes with it
    u8 unused[3];
};
static_assert(offsetof(MouseCursorObject, handle) == 28);

// Registers MouseCursor and the ArrowCursor, WatchCursor and IBeamCursor global functions,
// and lets "CURS" resources become cursors.
void register_mouse_cursor_class();

// A new MouseCursor (one count) over `handle`; nil for a null handle. An owned handle is
// destroyed with the object.
RuntimeObject* new_mouse_cursor(HCURSOR handle, bool owned);
// A new MouseCursor from a "CURS" resource's bytes, or nil when they make no cursor.
RuntimeObject* mouse_cursor_from_resource(const u8* data, u32 length);
// The native cursor of a MouseCursor; null for nil and for any other object.
HCURSOR mouse_cursor_handle(RuntimeObject* cursor);
// The native cursor of the application's MouseCursor; null while it has none.
HCURSOR application_cursor_handle();

}  // namespace qv

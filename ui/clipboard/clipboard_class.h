// The built-in Clipboard class: text, named data and pictures on the system clipboard. An
// object opens the clipboard on first use and holds it until Close or its destruction; it
// empties the clipboard before its first write only, so later writes add formats.
#pragma once

#include <cstddef>

#include "core/seam.h"
#include "core/types.h"
#include "runtime/definitions/class_tables.h"
#include "sdk/quaver.h"

namespace qv::ui {

struct ClipboardObject {
    RuntimeObject header;
    u8 open;     // this object holds the system clipboard open
    u8 emptied;  // this object has emptied the clipboard; never cleared again
    u8 reserved[2];
};
static_assert(offsetof(ClipboardObject, open) == 28);
static_assert(offsetof(ClipboardObject, emptied) == 29);

// How pictures cross the clipboard, which the graphics layer provides: a new Picture wrapping
// a CF_DIB block, and a picture put on the clipboard (as CF_DIB or CF_ENHMETAFILE; it does not
// empty the clipboard). Without it the Picture property reads nil and writes nothing.
struct ClipboardPictureBridge {
    RuntimeObject* (*from_dib)(const u8* dib, u32 size);
    void (*put)(RuntimeObject* picture);
};
Seam<ClipboardPictureBridge>& clipboard_picture_seam();

// Builds and registers the class definition; safe to call more than once.
void register_clipboard_class();
// The class's tables, which name its exported routines.
ClassTableList clipboard_class_tables();

}  // namespace qv::ui

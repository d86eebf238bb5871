// The built-in DragItem class: one or more items that travel together in a drag, each with a
// rectangle, and any of a text, a picture, a FolderItem and named ("Mac") data. One item is
// current: the properties read and write it, AddItem appends an item and makes it current,
// NextItem moves on. NewDragItem makes one for a drag out of a window or control; a drop
// makes one for the receiver's DropObject.
//
// Starting the drag itself (Drag) needs the system's drag loop, which the Win32 window layer
// installs; without it Drag does nothing.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "core/seam.h"
#include "runtime/definitions/class_tables.h"
#include "runtime/objects/object_ref.h"
#include "runtime/strings/string_ref.h"
#include "sdk/quaver.h"

namespace qv::ui {

struct MacDatum {
    std::string type;  // UTF-8, matched without regard to case
    StringRef data;
    bool is_private = false;  // for drags inside this program only
};

struct DragEntry {
    i32 left = 0, top = 0, width = 0, height = 0;
    StringRef text;
    ObjectRef picture;
    ObjectRef folder_item;
    std::vector<MacDatum> mac_data;

    // The datum of that type, or null.
    const MacDatum* mac_datum(std::string_view type) const;
};

struct DragItemState {
    std::vector<DragEntry> entries;  // never empty
    size_t current = 0;
};

struct DragItemObject {
    RuntimeObject header;
    DragItemState* state;
};
static_assert(offsetof(DragItemObject, state) == 28);

// A new DragItem (one count, the caller's) with one item of that rectangle; nil if it cannot
// be made.
RuntimeObject* new_drag_item(i32 left, i32 top, i32 width, i32 height);
// The item's contents; null for nil.
DragItemState* drag_item_state(RuntimeObject* item);
// Makes the first item current again, as a receiver must find it after the items were added.
void rewind_drag_item(RuntimeObject* item);

// How the window layer starts a drag of the item's contents and waits for its end.
struct DragStarter {
    void (*drag)(RuntimeObject* item);
};
Seam<DragStarter>& drag_starter_seam();

// Builds and registers the class definition; safe to call more than once.
void register_drag_item_class();
ClassTableList drag_item_class_tables();

}  // namespace qv::ui

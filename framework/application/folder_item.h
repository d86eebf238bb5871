// A minimal built-in FolderItem: a path, its last component and whether something exists
// there. Start-up makes one to hand each command-line document to OpenDocument.
#pragma once

#include "runtime/definitions/class_tables.h"
#include "runtime/definitions/object_definition.h"
#include "runtime/strings/string_ref.h"
#include "sdk/quaver.h"

namespace qv {

ObjectDefinition* folder_item_definition();
// The class's tables, which name its exported routines.
ClassTableList folder_item_class_tables();

// A new FolderItem (one count, the caller's) for the path; nil if it cannot be made.
RuntimeObject* new_folder_item(const StringRef& path);

// Points the item at another path; nothing for nil.
void set_folder_item_path(RuntimeObject* item, const StringRef& path);

}  // namespace qv

// A minimal FolderItem: a path, its name and whether a file or folder exists there.
#pragma once

#include "runtime/strings/string_ref.h"
#include "sdk/quaver.h"

namespace qv {

RuntimeObject* new_folder_item(const StringRef& path);
void set_folder_item_path(RuntimeObject* item, const StringRef& path);

}  // namespace qv

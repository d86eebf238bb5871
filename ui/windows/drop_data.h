// What a drop carries, read from the system's data object: text (Unicode text, else text in
// the ANSI code page), files (a file drop's paths), a picture (a device-independent bitmap,
// when the graphics layer can wrap one) and named data (a format registered under its name).
// And the DragItem a receiver gets from it.
#pragma once

#include "platform/win32/windows_api.h"

#include <objidl.h>

#include <string>
#include <vector>

#include "runtime/strings/string_ref.h"
#include "sdk/quaver.h"
#include "ui/drag_drop/drop_acceptance.h"

namespace qv::ui {

// What the data object offers; named data is looked for under the types given.
DragOffer read_drag_offer(IDataObject* data, const std::vector<std::string>& mac_data_types);

// The text as UTF-8, nil when there is none.
StringRef read_dropped_text(IDataObject* data);
// The dropped files' full paths as UTF-8, in the order given.
std::vector<std::string> read_dropped_files(IDataObject* data);
// The named data's bytes up to the first zero byte (encoding unknown, as on the clipboard).
StringRef read_dropped_mac_data(IDataObject* data, const std::string& type);

// The DragItem for a receiver with that acceptance: one item per accepted file, each with its
// FolderItem; the first also carries the text, the picture and the named data it accepts.
// Every item's rectangle is the drop point (window coordinates) with no size. One count, the
// caller's; nil if nothing accepted could be read.
RuntimeObject* make_dropped_item(IDataObject* data, const DropAcceptance& acceptance, const DragOffer& offer, i32 x,
                                 i32 y);

// The format registered under a named data type (RegisterClipboardFormatW); 0 on failure.
CLIPFORMAT named_data_format(const std::string& type);

}  // namespace qv::ui

// Turns the relocations of the code sections into import chains and fixups, and resolves
// code-to-code calls directly; refuses whatever the image format cannot express.
#pragma once

#include "core/result.h"
#include "tools/qvimage/elf_object.h"
#include "tools/qvimage/image_layout.h"
#include "tools/qvimage/import_stream.h"

namespace qvimage {

// Writes every site's value into layout.code and records imports and fixups in `stream`.
qv::Result<void> resolve_relocations(const ElfObject& object, ImageLayout& layout, ImportStreamBuilder& stream);

}  // namespace qvimage

// Lays the object out, resolves its relocations and writes the entry jump.
#include "tools/qvimage/image_builder.h"

#include "loader/message_text.h"
#include "tools/qvimage/image_layout.h"
#include "tools/qvimage/relocations.h"

namespace qvimage {
namespace {

using qv::Error;
using qv::Result;

// The code offset of the entry symbol.
Result<u32> find_entry(const ElfObject& object, const ImageLayout& layout, const std::string& entry)
{
    bool local = false;
    for (const ElfSymbol& sym : object.symbols) {
        if (sym.name != entry || sym.section == kShnUndef)
            continue;
        if (sym.binding == kStbLocal) {
            local = true;
            continue;
        }
        if (sym.section >= layout.places.size() || layout.places[sym.section].placement != Placement::Code ||
            sym.value >= object.sections[sym.section].size)
            return Error{"entry symbol '" + qv::escaped(entry) + "' is not a function in a code section"};
        return layout.places[sym.section].offset + sym.value;
    }
    if (local)
        return Error{"entry symbol '" + qv::escaped(entry) + "' is static; make it a global function"};
    return Error{"entry symbol '" + qv::escaped(entry) + "' is not defined (name the entry function with --entry)"};
}

}  // namespace

Result<ApplicationImage> build_image(const ElfObject& object, const std::string& entry)
{
    QV_TRY_ASSIGN(ImageLayout layout, lay_out_image(object));

    QV_TRY_ASSIGN(u32 entry_offset, find_entry(object, layout, entry));

    ImportStreamBuilder stream;
    QV_TRY(resolve_relocations(object, layout, stream));

    ApplicationImage image;
    image.imports = stream.finish(layout.code);
    layout.code[0] = kEntryJumpOpcode;
    qv::store_u32(layout.code.data() + 1, entry_offset - kEntryJumpSize);
    image.code = std::move(layout.code);
    image.data = std::move(layout.data);
    return image;
}

}  // namespace qvimage

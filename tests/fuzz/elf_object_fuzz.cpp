// Fuzz target over qvimage's reading of an object file and what follows it: the ELF reader,
// then the layout of the segments and the resolution of relocations into import chains and
// fixups. Any input either comes back refused with a message or as an image; nothing may
// read or write outside a buffer, hang or crash.
#include <span>

#include "tools/qvimage/elf_object.h"
#include "tools/qvimage/image_builder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qv::Result<qvimage::ElfObject> object = qvimage::parse_elf_object(std::span<const u8>(data, size));
    if (!object) {
        if (object.error().empty())
            __builtin_trap();  // a refusal always says why
        return 0;
    }
    const qv::Result<qvimage::ApplicationImage> image = qvimage::build_image(object.value());
    if (!image && image.error().empty())
        __builtin_trap();
    return 0;
}

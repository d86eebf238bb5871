// Writes test images assembled by hand, whose code begins with the entry's own instructions
// rather than a jump, so that their first sites lie in code bytes 1 to 4:
//   hand_call_at_entry   E8 rel32 at byte 0, a call into the runtime (import chain head 1)
//   hand_string_push     55 89 E5 68 imm32, a string constant pushed (string fixup at site 4)
//   hand_data_address    B8 imm32, a data address loaded (data fixup at site 1)
// Each reports with RuntimeMsgBox, which the runners print on standard error.
//
//   hand_assembled_images DIR [RUNTIME.exe]
// writes DIR/NAME.qvi for each, and with a Windows runtime also DIR/NAME.exe, the image
// attached to a copy of it.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/image_file_builder.h"
#include "tools/qvimage/pe_locator.h"

namespace {

using qv::ImportMode;
using qv::ImportTag;
using qv::test::ImageFileBuilder;

ImageFileBuilder call_at_entry()
{
    ImageFileBuilder image;
    // clang-format off
    image.code = {
        0xE8, 0, 0, 0, 0,   // 00 call GetEncodingsObject
        0x53,               // 05 push ebx
        0x89, 0xC3,         // 06 mov ebx, eax
        0x8B, 0x43, 0x08,   // 08 mov eax, [ebx + 8]      the object's class record
        0xFF, 0x70, 0x04,   // 0B push dword [eax + 4]    the class's name
        0xE8, 0, 0, 0, 0,   // 0E call RuntimeMsgBox
        0x89, 0x1C, 0x24,   // 13 mov [esp], ebx
        0xE8, 0, 0, 0, 0,   // 16 call RuntimeUnlockObject
        0x83, 0xC4, 0x04,   // 1B add esp, 4
        0x5B,               // 1E pop ebx
        0xC3,               // 1F ret
    };
    // clang-format on
    image.runtime_import(ImportMode::Relative, "GetEncodingsObject", {0x01});
    image.runtime_import(ImportMode::Relative, "RuntimeMsgBox", {0x0F});
    image.runtime_import(ImportMode::Relative, "RuntimeUnlockObject", {0x17});
    return image;
}

ImageFileBuilder string_push()
{
    ImageFileBuilder image;
    image.string_constant("first constant");  // so the pushed one is not at data offset 0
    const u32 text = image.string_constant("pushed by the entry's fourth byte");
    // clang-format off
    image.code = {
        0x55,               // 00 push ebp
        0x89, 0xE5,         // 01 mov ebp, esp
        0x68, 0, 0, 0, 0,   // 03 push the constant
        0xE8, 0, 0, 0, 0,   // 08 call RuntimeMsgBox
        0xC9,               // 0D leave
        0xC3,               // 0E ret
    };
    // clang-format on
    qv::store_u32(image.code.data() + 0x04, text);
    image.fixup(ImportTag::StringFixup, 0x04);
    image.runtime_import(ImportMode::Relative, "RuntimeMsgBox", {0x09});
    return image;
}

ImageFileBuilder data_address()
{
    ImageFileBuilder image;
    image.raw_data("slot");  // so the text is not at data offset 0
    const std::string text = "read through a data address";
    const u32 offset = image.raw_data(text);
    // clang-format off
    image.code = {
        0xB8, 0, 0, 0, 0,   // 00 mov eax, the text's address
        0x53,               // 05 push ebx
        0x6A, 0,            // 06 push the text's length
        0x50,               // 08 push eax
        0xE8, 0, 0, 0, 0,   // 09 call QuavBuildString
        0x89, 0xC3,         // 0E mov ebx, eax
        0x89, 0x04, 0x24,   // 10 mov [esp], eax
        0xE8, 0, 0, 0, 0,   // 13 call RuntimeMsgBox
        0x89, 0x1C, 0x24,   // 18 mov [esp], ebx
        0xE8, 0, 0, 0, 0,   // 1B call RuntimeUnlockString
        0x83, 0xC4, 0x08,   // 20 add esp, 8
        0x5B,               // 23 pop ebx
        0xC3,               // 24 ret
    };
    // clang-format on
    qv::store_u32(image.code.data() + 0x01, offset);
    image.code[0x07] = static_cast<u8>(text.size());
    image.fixup(ImportTag::DataFixup, 0x01);
    image.runtime_import(ImportMode::Relative, "QuavBuildString", {0x0A});
    image.runtime_import(ImportMode::Relative, "RuntimeMsgBox", {0x14});
    image.runtime_import(ImportMode::Relative, "RuntimeUnlockString", {0x1C});
    return image;
}

bool write_file(const std::string& path, const std::vector<u8>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: hand_assembled_images DIR [RUNTIME.exe]\n");
        return 2;
    }
    const std::string dir = argv[1];
    std::vector<u8> runtime;
    if (argc == 3) {
        std::ifstream in(argv[2], std::ios::binary);
        runtime.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (runtime.empty()) {
            std::fprintf(stderr, "hand_assembled_images: cannot read %s\n", argv[2]);
            return 1;
        }
    }
    const std::pair<const char*, ImageFileBuilder> images[] = {
        {"hand_call_at_entry", call_at_entry()},
        {"hand_string_push", string_push()},
        {"hand_data_address", data_address()},
    };
    for (const auto& [name, image] : images) {
        const std::string path = dir + "/" + name;
        if (!write_file(path + ".qvi", image.packaged())) {
            std::fprintf(stderr, "hand_assembled_images: cannot write %s.qvi\n", path.c_str());
            return 1;
        }
        if (runtime.empty())
            continue;
        qv::Result<std::vector<u8>> program = qvimage::attach_image(runtime, image.packaged());
        if (!program) {
            std::fprintf(stderr, "hand_assembled_images: %s: %s\n", argv[2], program.error().c_str());
            return 1;
        }
        if (!write_file(path + ".exe", program.value())) {
            std::fprintf(stderr, "hand_assembled_images: cannot write %s.exe\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

// qvimage --attach on small hand-made PE files: the locator is found through the resource
// directory (not by searching for its bytes), patched, and the runtime's reader finds the
// image through it.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "loader/image_container.h"
#include "tests/tools/qvimage_test_support.h"
#include "tools/qvimage/image_package.h"
#include "tools/qvimage/pe_locator.h"

namespace {

using namespace qvimage;
using namespace qvimage::test;

void put16(Bytes& b, size_t at, u32 v)
{
    b.at(at) = static_cast<u8>(v);
    b.at(at + 1) = static_cast<u8>(v >> 8);
}

void put32(Bytes& b, size_t at, u32 v)
{
    for (size_t i = 0; i < 4; ++i)
        b.at(at + i) = static_cast<u8>(v >> (8 * i));
}

struct PeShape {
    const char* type_name = "PICKLE";
    u32 id = 101;
    u32 data_size = 8;
    const char* placeholder = "PICKPOKE";
};

constexpr u32 kRsrcFile = 0x400;  // .rsrc: file offset 0x400, RVA 0x2000
constexpr u32 kRsrcRva = 0x2000;
constexpr u32 kDecoyData = 0xc0;  // RCDATA 101, "PICKPOKE" too, before the locator
constexpr u32 kLocatorData = 0xc8;
constexpr u32 kLocatorFile = kRsrcFile + kLocatorData;

// A 0x600-byte PE32 file with two sections. ".rdata" begins with the placeholder bytes, and the
// resources hold the named type (PICKLE, id 101) and a decoy RCDATA resource 101 whose data
// comes first, so only a real walk of the directory lands on the locator.
Bytes make_pe(const PeShape& shape = {})
{
    Bytes b(0x600, 0);
    b[0] = 'M';
    b[1] = 'Z';
    put32(b, 0x3c, 0x40);
    std::memcpy(&b[0x40], "PE\0\0", 4);
    put16(b, 0x44, 0x14c);    // i386
    put16(b, 0x46, 2);        // sections
    put16(b, 0x54, 0xe0);     // optional header size
    put16(b, 0x58, 0x10b);    // PE32
    put32(b, 0x58 + 92, 16);  // data directories
    put32(b, 0x58 + 96 + 16, kRsrcRva);
    put32(b, 0x58 + 96 + 20, 0xd0);
    const size_t sections = 0x58 + 0xe0;
    std::memcpy(&b[sections], ".rdata", 6);
    put32(b, sections + 8, 0x200);
    put32(b, sections + 12, 0x1000);
    put32(b, sections + 16, 0x200);
    put32(b, sections + 20, 0x200);
    std::memcpy(&b[sections + 40], ".rsrc", 5);
    put32(b, sections + 48, 0x200);
    put32(b, sections + 52, kRsrcRva);
    put32(b, sections + 56, 0x200);
    put32(b, sections + 60, kRsrcFile);
    std::memcpy(&b[0x200], "PICKPOKE", 8);

    const u32 r = kRsrcFile;
    auto directory = [&](u32 at, u32 named, u32 ids) {
        put16(b, r + at + 12, named);
        put16(b, r + at + 14, ids);
    };
    auto entry = [&](u32 at, u32 name, u32 target) {
        put32(b, r + at, name);
        put32(b, r + at + 4, target);
    };
    directory(0x00, 1, 1);  // types: the named one, then RCDATA (10)
    entry(0x10, 0x80000000 | 0xa0, 0x80000000 | 0x20);
    entry(0x18, 10, 0x80000000 | 0x50);
    directory(0x20, 0, 1);
    entry(0x30, shape.id, 0x80000000 | 0x38);
    directory(0x38, 0, 1);
    entry(0x48, 1033, 0x80);
    directory(0x50, 0, 1);
    entry(0x60, 101, 0x80000000 | 0x68);
    directory(0x68, 0, 1);
    entry(0x78, 1033, 0x90);
    put32(b, r + 0x80, kRsrcRva + kLocatorData);
    put32(b, r + 0x84, shape.data_size);
    put32(b, r + 0x90, kRsrcRva + kDecoyData);
    put32(b, r + 0x94, 8);
    const size_t length = std::strlen(shape.type_name);
    put16(b, r + 0xa0, static_cast<u32>(length));
    for (size_t i = 0; i < length; ++i)
        put16(b, r + 0xa2 + 2 * i, static_cast<u8>(shape.type_name[i]));
    std::memcpy(&b[r + kDecoyData], "PICKPOKE", 8);
    std::memcpy(&b[r + kLocatorData], shape.placeholder, 8);
    return b;
}

TEST(QvimageAttach, PatchesTheLocatorAndAppendsTheImage)
{
    const Bytes runtime = make_pe();
    qv::Result<u32> locator = find_locator_offset(runtime);
    ASSERT_TRUE(locator) << locator.error();
    EXPECT_EQ(locator.value(), kLocatorFile);

    const Bytes image = {1, 2, 3, 4, 5, 6, 7};
    qv::Result<Bytes> attached = attach_image(runtime, image);
    ASSERT_TRUE(attached) << attached.error();
    Bytes expected = runtime;
    put32(expected, kLocatorFile, 0x600);  // the old file length
    put32(expected, kLocatorFile + 4, 0);
    expected.insert(expected.end(), image.begin(), image.end());
    EXPECT_EQ(attached.value(), expected);

    // Attaching twice would leave the first image's offset behind.
    qv::Result<Bytes> again = attach_image(attached.value(), image);
    ASSERT_FALSE(again.ok());
    EXPECT_EQ(again.error(),
              "the executable's locator already points at an attached image; attach to the runtime "
              "executable as it was built");
}

TEST(QvimageAttach, TheRuntimeReaderFindsTheAttachedImage)
{
    ApplicationImage image;
    image.code = {0xc3};
    image.data = {1, 2, 3};
    image.imports = {0};
    image.resources = {'R'};
    image.options = {0, 0, 0, 0, 0};
    qv::Result<Bytes> attached = attach_image(make_pe(), package_image(image));
    ASSERT_TRUE(attached) << attached.error();

    std::array<u8, 8> locator;
    std::memcpy(locator.data(), &attached.value()[kLocatorFile], 8);
    const qv::ImageLocation location = qv::decode_locator(locator);
    ASSERT_TRUE(location.packaged);
    EXPECT_EQ(location.image_offset, 0x600u);

    TempFolder folder;
    platform::InputFile file = platform::open_for_reading(folder.write("app.exe", attached.value()));
    qv::Result<qv::ImageSegments> read = qv::read_packaged_image(file, location.image_offset);
    ASSERT_TRUE(read) << read.error();
    EXPECT_EQ(read->code, image.code);
    EXPECT_EQ(read->data, image.data);
    EXPECT_EQ(read->imports, image.imports);
    EXPECT_EQ(read->resources, image.resources);
    EXPECT_EQ(read->options, image.options);
}

TEST(QvimageAttach, RefusesExecutablesWithoutAUsableLocator)
{
    const std::string missing =
        "the executable has no PICKLE resource with id 101 (compile loader/pickle_locator.rc into it with "
        "windres)";
    struct Case {
        const char* what;
        Bytes file;
        std::string message;
    };
    Bytes not_pe = make_pe();
    not_pe[0] = 'X';
    Bytes no_resources = make_pe();
    put32(no_resources, 0x58 + 96 + 16, 0);
    Bytes cut = make_pe();
    cut.resize(0x480);  // the resource section's file data is cut short
    Bytes stray = make_pe();
    put32(stray, kRsrcFile + 0x10 + 4, 0x80000000 | 0x1f0);  // subdirectory past the directory
    const Case cases[] = {
        {"no MZ", not_pe, "not a Windows executable (no MZ header)"},
        {"no resources", no_resources, "the executable has no resources"},
        {"other type name", make_pe({.type_name = "PICKLES"}), missing},
        {"other id", make_pe({.id = 102}), missing},
        {"wrong size", make_pe({.data_size = 4}), "the PICKLE resource 101 holds 4 bytes; the locator is 8 bytes"},
        {"cut short", cut, "the executable's resource data at RVA 0x2000 is not in its file"},
        {"stray subdirectory", stray, "the executable's resource directory is damaged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        qv::Result<Bytes> attached = attach_image(c.file, Bytes{1});
        ASSERT_FALSE(attached.ok());
        EXPECT_EQ(attached.error(), c.message);
    }
    // A lower-case type name still matches, as resource lookups ignore case.
    EXPECT_TRUE(find_locator_offset(make_pe({.type_name = "pickle"})).ok());
}

}  // namespace

// qvimage's conversion of real compiled objects: the image links with the runtime's linker and
// runs natively, its chains and fixups have the promised shape, and everything the format
// cannot express is refused with a message naming the place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

#include "loader/import_linker.h"
#include "loader/message_text.h"
#include "platform/exec_memory.h"
#include "sdk/quaver.h"
#include "tests/tools/qvimage_test_support.h"
#include "tools/qvimage/image_layout.h"

namespace {

using namespace qvimage;
using namespace qvimage::test;

u32 word_at(const Bytes& bytes, u32 offset)
{
    u32 v;
    std::memcpy(&v, bytes.data() + offset, 4);
    return v;
}

// ---- What the host routines saw when the image ran ------------------------------------

struct HostLog {
    std::vector<i32> numbers;
    std::vector<std::string> texts;
    std::vector<u32> encodings;
    std::vector<void*> stored;
    int dead_strings = 0;  // constants whose text pointer was not set to their own length byte
};
HostLog g_host;

void host_record(i32 value) { g_host.numbers.push_back(value); }

void host_record_string(RuntimeString* s)
{
    if (!s || s->refCount != 1 || s->buffer != reinterpret_cast<u8*>(s) + 20 ||
        s->buffer[0] != std::min(s->length, 255)) {
        ++g_host.dead_strings;
        return;
    }
    g_host.texts.emplace_back(reinterpret_cast<const char*>(s->buffer + 1), s->length);
    g_host.encodings.push_back(s->encoding);
}

void host_store(void* address) { g_host.stored.push_back(address); }

class HostResolver : public qv::ImportResolver {
public:
    const void* runtime_routine(std::string_view name) override
    {
        if (name == "HostRecord")
            return reinterpret_cast<const void*>(&host_record);
        if (name == "HostRecordString")
            return reinterpret_cast<const void*>(&host_record_string);
        if (name == "HostStore")
            return reinterpret_cast<const void*>(&host_store);
        return nullptr;
    }
    const void* unbound_import(std::string_view) override { return nullptr; }
    const void* library_procedure(std::string_view, std::string_view, std::string& message) override
    {
        message = "no libraries here";
        return nullptr;
    }
};

// ---- Reading the stream back independently --------------------------------------------

struct Import {
    std::string name;
    u8 mode;
    std::vector<u32> sites;
};

struct Stream {
    std::vector<Import> imports;
    std::map<u8, std::vector<u32>> fixup_values;  // tag -> the value each site holds
};

// Decodes the stream and walks each chain through the code; fails the test on any damage.
Stream decode(const ApplicationImage& image)
{
    Stream out;
    const Bytes& s = image.imports;
    for (size_t p = 0; p < s.size();) {
        const u8 tag = s[p++];
        if (tag == 1) {
            if (p + 6 > s.size() || p + 6 + s[p + 5] + 1 > s.size()) {
                ADD_FAILURE() << "runtime import cut off at stream offset " << p - 1;
                break;
            }
            Import import{{}, s[p], {}};
            u32 site = word_at(s, static_cast<u32>(p + 1));
            const u8 length = s[p + 5];
            import.name.assign(reinterpret_cast<const char*>(&s[p + 6]), length);
            EXPECT_EQ(s[p + 6 + length], 0) << "counted name not followed by a zero byte";
            p += 6 + length + 1;
            for (size_t steps = 0; site != 0 && steps < image.code.size(); ++steps) {
                if (site > image.code.size() - 4) {
                    ADD_FAILURE() << import.name << " chain leaves the code at " << site;
                    break;
                }
                import.sites.push_back(site);
                site = word_at(image.code, site);
            }
            EXPECT_EQ(site, 0u) << "chain of " << import.name << " does not end";
            out.imports.push_back(std::move(import));
        } else if ((tag == 2 || tag == 3 || tag == 5) && p + 4 <= s.size()) {
            const u32 site = word_at(s, static_cast<u32>(p));
            if (site > image.code.size() - 4) {
                ADD_FAILURE() << "fixup site " << site << " is outside the code";
                break;
            }
            p += 4;
            out.fixup_values[tag].push_back(word_at(image.code, site));
        } else {
            ADD_FAILURE() << "unexpected or cut-off tag " << int(tag) << " at stream offset " << p - 1;
            break;
        }
    }
    return out;
}

class QvimageBasicImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        qv::Result<ApplicationImage> built = convert_fixture("image_basic");
        ASSERT_TRUE(built) << built.error();
        m_image = std::move(built.value());
    }
    ApplicationImage m_image;
};

TEST_F(QvimageBasicImage, LinksAndRunsAgainstHostRoutines)
{
    platform::ExecRegion region;
    ASSERT_TRUE(platform::allocate_writable_region(m_image.code.size(), region).ok());
    std::memcpy(region.base, m_image.code.data(), m_image.code.size());
    Bytes data = m_image.data;
    const qv::LoadedImage loaded{region.base, static_cast<u32>(m_image.code.size()), data.data(),
                                 static_cast<u32>(data.size())};
    HostResolver resolver;
    qv::Result<qv::LinkReport> report = qv::LinkImage(m_image.imports, loaded, resolver);
    ASSERT_TRUE(report) << report.error();
    EXPECT_TRUE(report->unbound.empty());
    EXPECT_EQ(report->runtime_imports, 4u);
    EXPECT_EQ(report->import_sites, 11u);
    ASSERT_TRUE(platform::make_executable(region).ok());

    g_host = {};
    reinterpret_cast<void (*)()>(region.base)();

    // Local and cross-section calls, .rodata, .data, zero-filled .bss, a global symbol, and
    // a constant's length read through a data fixup in the middle of the record.
    EXPECT_EQ(g_host.numbers, (std::vector<i32>{4, 7, 0, 42, 3}));
    EXPECT_EQ(g_host.dead_strings, 0);
    EXPECT_EQ(g_host.texts, (std::vector<std::string>{"first", "caf\xc3\xa9", "abc"}));
    EXPECT_EQ(g_host.encodings, (std::vector<u32>{QV_ENCODING_ASCII, QV_ENCODING_UTF8, QV_ENCODING_ASCII}));
    ASSERT_EQ(g_host.stored.size(), 2u);
    EXPECT_EQ(g_host.stored[0], reinterpret_cast<void*>(&host_record));  // absolute import
    EXPECT_EQ(reinterpret_cast<i32 (*)(i32)>(g_host.stored[1])(3), 9);   // code fixup
    EXPECT_TRUE(platform::free_region(region).ok());
}

TEST_F(QvimageBasicImage, EachNameAndModeIsOneChainThroughItsSites)
{
    EXPECT_EQ(m_image.code[0], 0xe9);  // the entry jump
    const Stream stream = decode(m_image);
    std::map<std::pair<std::string, u8>, size_t> chains;
    std::set<u32> all_sites;
    for (const Import& import : stream.imports) {
        EXPECT_TRUE(chains.emplace(std::make_pair(import.name, import.mode), import.sites.size()).second)
            << import.name << " is listed twice in one mode";
        for (u32 site : import.sites) {
            EXPECT_GE(site, kEntryJumpSize);
            EXPECT_TRUE(all_sites.insert(site).second) << "site " << site << " is in two chains";
            if (import.mode == 1) {
                EXPECT_EQ(m_image.code[site - 1], 0xe8) << import.name << " site " << site << " is not a call operand";
            }
        }
    }
    // Four C calls and one PLT-form call of HostRecord share a chain; taking its address is
    // a separate, absolute one.
    const std::map<std::pair<std::string, u8>, size_t> expected = {
        {{"HostRecord", 1}, 5}, {{"HostRecordString", 1}, 3}, {{"HostStore", 1}, 2}, {{"HostRecord", 0}, 1}};
    EXPECT_EQ(chains, expected);
}

TEST_F(QvimageBasicImage, StringFixupsNameRecordStartsAndDataFixupsTheRest)
{
    const Stream stream = decode(m_image);
    const Bytes& data = m_image.data;
    std::vector<std::string> texts;
    u32 strings_end = 0;
    u32 abc = 0;
    for (u32 r : stream.fixup_values.at(5)) {
        ASSERT_EQ(r % 4, 0u);
        ASSERT_LE(r + 22, data.size());
        const u32 length = word_at(data, r + 12);
        EXPECT_EQ(word_at(data, r), 1u);
        EXPECT_EQ(word_at(data, r + 4), 0u);
        EXPECT_EQ(word_at(data, r + 8), length + 2);
        texts.emplace_back(reinterpret_cast<const char*>(&data[r + 21]), length);
        strings_end = std::max(strings_end, (r + 22 + length + 3) & ~3u);
        if (texts.back() == "abc")
            abc = r;
    }
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"abc", "caf\xc3\xa9", "first"}));

    // The constants come first; the only data fixup among them is the length field of "abc".
    std::vector<u32> inside_constants;
    for (u32 d : stream.fixup_values.at(2)) {
        EXPECT_LT(d, data.size());
        if (d < strings_end)
            inside_constants.push_back(d);
    }
    EXPECT_EQ(inside_constants, std::vector<u32>{abc + 12});
    ASSERT_EQ(stream.fixup_values.at(3).size(), 1u);
    EXPECT_LT(stream.fixup_values.at(3)[0], m_image.code.size());

    // .bss (counter and six slots) closes the data segment as zeros.
    ASSERT_GE(data.size(), strings_end + 28);
    EXPECT_TRUE(std::all_of(data.end() - 28, data.end(), [](u8 b) { return b == 0; }));
}

TEST(QvimageBuild, AddressesOutsideTheirSymbolRunAsWritten)
{
    // g[i - 1] at -O2 stores the address g - 4, data offset -4 here: the loader must take it.
    qv::Result<ApplicationImage> built = convert_fixture("negative_addend");
    ASSERT_TRUE(built) << built.error();
    const ApplicationImage& image = built.value();
    const Stream stream = decode(image);
    ASSERT_EQ(stream.fixup_values.count(2), 1u);
    EXPECT_NE(std::find(stream.fixup_values.at(2).begin(), stream.fixup_values.at(2).end(), 0xfffffffcu),
              stream.fixup_values.at(2).end());

    platform::ExecRegion region;
    ASSERT_TRUE(platform::allocate_writable_region(image.code.size(), region).ok());
    std::memcpy(region.base, image.code.data(), image.code.size());
    Bytes data = image.data;
    HostResolver resolver;
    qv::Result<qv::LinkReport> report = qv::LinkImage(
        image.imports, {region.base, static_cast<u32>(image.code.size()), data.data(), static_cast<u32>(data.size())},
        resolver);
    ASSERT_TRUE(report) << report.error();
    ASSERT_TRUE(platform::make_executable(region).ok());
    g_host = {};
    reinterpret_cast<void (*)()>(region.base)();
    EXPECT_EQ(g_host.numbers, (std::vector<i32>{42, 7}));
    EXPECT_TRUE(platform::free_region(region).ok());
}

// ---- Refusals ---------------------------------------------------------------------------

TEST(QvimageRefusals, HostileObjects)
{
    struct Case {
        const char* file;
        const char* message;
    };
    const Case cases[] = {
        // Section 0's header says REL: read as a section, it sent the reader to address 4.
        {"section0_relocations.o", "section 0 has type 9; the null section must have type 0"},
        // The loader patches a site once; qvimage also added both addends.
        {"two_relocations_one_site.o",
         "relocation in .text at offset 0x12 patches bytes that another relocation patches"},
        // Skipped as "not relocations", its entries left the image calling its own addends.
        {"relocations_nobits.o", "relocation section .rel.text for .text has type 8, not REL (9)"},
        // 1.5 KB of object, 512 MB of image.
        {"alignment_512m.o",
         "section .text asks for alignment 536870912; an image aligns sections to at most 4096 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const Bytes object = read_bytes(hostile_path(c.file));
        ASSERT_FALSE(object.empty());
        const qv::Result<ApplicationImage> image = convert(object);
        ASSERT_FALSE(image.ok());
        EXPECT_EQ(image.error(), c.message);
    }
}

TEST(QvimageRefusals, AbsurdSizesAndNamesFromTheObject)
{
    const Bytes basic = read_bytes(fixture_path("image_basic"));
    const size_t bss = section_header_offset(basic, ".bss");
    ASSERT_NE(bss, 0u);
    Bytes huge_bss = basic;
    qv::store_u32(huge_bss.data() + bss + 20, 300u << 20);
    qv::Result<ApplicationImage> refused = convert(huge_bss);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error(), "section .bss of 314572800 bytes makes the image's data segment larger than 64 MB");

    // A control byte in a section name reaches the message escaped.
    Bytes pointer = read_bytes(fixture_path("refuse_data_pointer"));
    const size_t data = section_header_offset(pointer, ".data");
    ASSERT_NE(data, 0u);
    const size_t names = section_header_offset(pointer, ".shstrtab");
    const u32 name_at = qv::load_u32(pointer.data() + names + 16) + qv::load_u32(pointer.data() + data);
    pointer[name_at + 2] = '\n';
    refused = convert(pointer);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().rfind("relocation in data section .d\\x0ata at offset 0x0 against '.bss'", 0), 0u)
        << refused.error();
}

// .text follows the entry jump at code offset 5: a relocation whose offset would wrap its site
// back into the jump's bytes lies outside its section, and is refused as such.
TEST(QvimageRefusals, NoRelocationReachesTheEntryJump)
{
    const Bytes basic = read_bytes(fixture_path("image_basic"));
    const size_t relocations = section_header_offset(basic, ".rel.text");
    ASSERT_NE(relocations, 0u);
    const u32 first = qv::load_u32(basic.data() + relocations + 16);
    for (u32 jump_byte = 0; jump_byte < kEntryJumpSize; ++jump_byte) {
        const u32 offset = jump_byte - kEntryJumpSize;
        SCOPED_TRACE(qv::hex(offset));
        Bytes object = basic;
        qv::store_u32(object.data() + first, offset);
        const qv::Result<ApplicationImage> refused = convert(object);
        ASSERT_FALSE(refused.ok());
        EXPECT_EQ(refused.error(),
                  "relocation in .text at offset " + qv::hex(offset) + " runs past the end of the section");
    }
}

TEST(QvimageRefusals, NameTheSectionOffsetAndSymbol)
{
    struct Case {
        const char* fixture;
        const char* entry;
        const char* message;
    };
    const Case cases[] = {
        {"refuse_data_pointer", kDefaultEntry,
         "relocation in data section .data at offset 0x0 against '.bss': an image's data cannot hold addresses "
         "(such as pointer initialisers); set them at run time"},
        {"refuse_relocation_type", kDefaultEntry,
         "relocation type 9 (R_386_GOTOFF) in .text.bad at offset 0x0 against 'ImageEntry' cannot be expressed in "
         "an image"},
        // The 255-byte name at offset 0x1 is accepted; the 256-byte one is not.
        {"refuse_long_name", kDefaultEntry,
         "call in .text.bad at offset 0x6 names an import of 256 bytes, 'aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa...'; "
         "import names are at most 255 bytes"},
        {"refuse_call_addend", kDefaultEntry,
         "call in .text.bad at offset 0x1 to imported 'HostRecord' has addend 4, not -4; an import can only be "
         "called"},
        {"refuse_import_offset", kDefaultEntry,
         "reference in .text.bad at offset 0x1 to imported 'HostTable' has addend 12; an import's address cannot "
         "carry an offset"},
        {"refuse_call_data", kDefaultEntry,
         "PC-relative reference in .text.bad at offset 0x1 to 'DataWord' in data section .data cannot be expressed "
         "in an image"},
        {"refuse_common", kDefaultEntry,
         "relocation in .text.bad at offset 0x1 refers to 'Shared', a common symbol; compile with -fno-common"},
        {"image_basic", "NoSuchEntry",
         "entry symbol 'NoSuchEntry' is not defined (name the entry function with --entry)"},
        {"image_basic", "square_and_count", "entry symbol 'square_and_count' is static; make it a global function"},
        {"image_basic", "ImageGlobal", "entry symbol 'ImageGlobal' is not a function in a code section"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.fixture) + " / " + c.entry);
        const qv::Result<ApplicationImage> image = convert_fixture(c.fixture, c.entry);
        ASSERT_FALSE(image.ok());
        EXPECT_EQ(image.error(), c.message);
    }
}

TEST(QvimageRefusals, DamagedObjectHeaders)
{
    struct Case {
        size_t offset;
        std::vector<u8> bytes;
        const char* message;
    };
    const Case cases[] = {
        {0, {0x7e}, "not an ELF object file"},
        {4, {2}, "not a 32-bit ELF object (compile with -m32)"},
        {5, {2}, "not a little-endian ELF object"},
        {16, {2, 0}, "not a relocatable object (ELF type 2); give qvimage the .o file that gcc -c writes"},
        {18, {62, 0}, "built for ELF machine 62, not i386 (compile with -m32)"},
        {32, {0, 0xff, 0xff, 0xff}, "the section header table lies outside the file"},
        {46, {64, 0}, "section headers are 64 bytes, expected 40"},
        {50, {0, 0x70}, "the section name table index 28672 is not a string table"},
    };
    const Bytes original = read_bytes(fixture_path("image_basic"));
    ASSERT_GT(original.size(), 52u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Bytes bytes = original;
        std::copy(c.bytes.begin(), c.bytes.end(), bytes.begin() + c.offset);
        const qv::Result<ElfObject> object = parse_elf_object(bytes);
        ASSERT_FALSE(object.ok());
        EXPECT_EQ(object.error(), c.message);
    }
}

TEST(QvimageRefusals, EveryTruncatedObject)
{
    // The section headers sit at the end, so every shorter file must be refused, not read past.
    const Bytes original = read_bytes(fixture_path("image_basic"));
    ASSERT_FALSE(original.empty());
    for (size_t size = 0; size < original.size(); ++size) {
        const qv::Result<ElfObject> object = parse_elf_object(std::span<const u8>(original.data(), size));
        EXPECT_FALSE(object.ok() && build_image(object.value()).ok()) << "accepted at " << size << " bytes";
    }
}

TEST(QvimageRefusals, DamagedStringConstant)
{
    // The "abc" constant with its capacity changed from length + 2.
    Bytes bytes = read_bytes(fixture_path("image_basic"));
    const u8 record[] = {1, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0, 0, 6, 0, 0, 3, 'a', 'b', 'c'};
    const auto at = std::search(bytes.begin(), bytes.end(), std::begin(record), std::end(record));
    ASSERT_NE(at, bytes.end());
    at[8] = 6;
    const qv::Result<ElfObject> object = parse_elf_object(bytes);
    ASSERT_TRUE(object) << object.error();
    const qv::Result<ApplicationImage> image = build_image(object.value());
    ASSERT_FALSE(image.ok());
    EXPECT_EQ(image.error().rfind(".qvstr offset 0x", 0), 0u) << image.error();
    EXPECT_NE(image.error().find(": not a string constant (expected count 1"), std::string::npos) << image.error();
}

}  // namespace

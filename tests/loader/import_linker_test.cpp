// LinkImage over hand-built streams: chains, both import modes, fixups, string constants,
// library imports, and every malformed record refused with the image left as it was.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "loader/import_linker.h"
#include "tests/support/assertion_capture.h"

namespace {

using namespace qv;
using Bytes = std::vector<u8>;

int g_routine_a;
int g_routine_b;
int g_unbound;
int g_library_proc;

class FakeResolver : public ImportResolver {
public:
    const void* runtime_routine(std::string_view name) override
    {
        if (name == "RoutineA")
            return &g_routine_a;
        if (name == "RoutineB")
            return &g_routine_b;
        return nullptr;
    }
    const void* unbound_import(std::string_view name) override
    {
        unbound_names.emplace_back(name);
        return &g_unbound;
    }
    const void* library_procedure(std::string_view library, std::string_view procedure, std::string& message) override
    {
        if (library == "good.dll" && procedure == "Proc")
            return &g_library_proc;
        message = "no " + std::string(procedure) + " in " + std::string(library);
        return nullptr;
    }
    std::vector<std::string> unbound_names;
};

struct StreamBuilder {
    Bytes bytes;
    StreamBuilder& u8_(u8 v)
    {
        bytes.push_back(v);
        return *this;
    }
    StreamBuilder& u32_(u32 v)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<u8>(v >> (8 * i)));
        return *this;
    }
    StreamBuilder& name(const std::string& n)
    {
        bytes.push_back(static_cast<u8>(n.size()));
        bytes.insert(bytes.end(), n.begin(), n.end());
        bytes.push_back(0);
        return *this;
    }
    StreamBuilder& runtime_import(u8 mode, u32 head, const std::string& n)
    {
        return u8_(1).u8_(mode).u32_(head).name(n);
    }
    StreamBuilder& fixup(u8 tag, u32 site) { return u8_(tag).u32_(site); }
    StreamBuilder& library_import(u32 head, const std::string& proc, const std::string& lib)
    {
        return u8_(4).u32_(head).name(proc).name(lib);
    }
};

struct Image {
    Bytes code = Bytes(0x200, 0x90);
    Bytes data = Bytes(0x80, 0);
    LoadedImage loaded()
    {
        return {code.data(), static_cast<u32>(code.size()), data.data(), static_cast<u32>(data.size())};
    }
    u32 at(u32 site) const
    {
        u32 v;
        std::memcpy(&v, code.data() + site, 4);
        return v;
    }
    void put(u32 site, u32 v) { std::memcpy(code.data() + site, &v, 4); }
    void put_data(u32 offset, u32 v) { std::memcpy(data.data() + offset, &v, 4); }
    uintptr_t code_base() { return reinterpret_cast<uintptr_t>(code.data()); }
    uintptr_t data_base() { return reinterpret_cast<uintptr_t>(data.data()); }
};

TEST(LinkImage, RelativeChainStoresCallDisplacements)
{
    Image image;
    image.put(0x101, 0x120);  // site 0x101 links to 0x120
    image.put(0x120, 0);
    FakeResolver resolver;
    Result<LinkReport> report =
        LinkImage(StreamBuilder().runtime_import(1, 0x101, "RoutineA").bytes, image.loaded(), resolver);
    ASSERT_TRUE(report.ok()) << report.error();
    const auto target = reinterpret_cast<uintptr_t>(&g_routine_a);
    EXPECT_EQ(image.at(0x101), static_cast<u32>(target - image.code_base() - 0x105));
    EXPECT_EQ(image.at(0x120), static_cast<u32>(target - (image.code_base() + 0x120 + 4)));
    EXPECT_EQ(report->import_sites, 2u);
}

TEST(LinkImage, AbsoluteModeStoresTheAddress)
{
    Image image;
    image.put(0x40, 0);
    FakeResolver resolver;
    ASSERT_TRUE(LinkImage(StreamBuilder().runtime_import(0, 0x40, "RoutineB").bytes, image.loaded(), resolver).ok());
    EXPECT_EQ(image.at(0x40), static_cast<u32>(reinterpret_cast<uintptr_t>(&g_routine_b)));
}

// An image without code may still import (chains that end at once): nothing is patched, and
// nothing is computed from the absent code (the sanitized build would name it).
TEST(LinkImage, ImportsIntoAnImageWithoutCodePatchNothing)
{
    FakeResolver resolver;
    Result<LinkReport> report =
        LinkImage(StreamBuilder().runtime_import(1, 0, "RoutineA").runtime_import(0, 0, "RoutineB").bytes,
                  LoadedImage{nullptr, 0, nullptr, 0}, resolver);
    ASSERT_TRUE(report.ok()) << report.error();
    EXPECT_EQ(report->import_sites, 0u);
    EXPECT_EQ(report->runtime_imports, 2u);
}

TEST(LinkImage, MissingRoutineIsReportedAndPointedAtTheUnboundTarget)
{
    Image image;
    image.put(0x10, 0);
    FakeResolver resolver;
    test::AssertionCapture capture;
    Result<LinkReport> report = LinkImage(StreamBuilder()
                                              .runtime_import(0, 0x10, "NoSuchRoutine")
                                              .runtime_import(1, 0, "AlsoMissing")  // head 0: no sites, still searched
                                              .bytes,
                                          image.loaded(), resolver);
    ASSERT_TRUE(report.ok());
    ASSERT_EQ(capture.count(), 2u);
    EXPECT_TRUE(capture.saw("loaderX86", 206));
    EXPECT_NE(capture.reports()[0].find("Function 'NoSuchRoutine' was not exported"), std::string::npos);
    EXPECT_NE(capture.reports()[1].find("Function 'AlsoMissing' was not exported"), std::string::npos);
    EXPECT_EQ(image.at(0x10), static_cast<u32>(reinterpret_cast<uintptr_t>(&g_unbound)));
    EXPECT_EQ(report->unbound, (std::vector<std::string>{"NoSuchRoutine", "AlsoMissing"}));
}

TEST(LinkImage, FixupsAddTheirBases)
{
    Image image;
    image.put(0x20, 0x10);  // data offset
    image.put(0x30, 0x44);  // code offset
    FakeResolver resolver;
    Result<LinkReport> report =
        LinkImage(StreamBuilder().fixup(2, 0x20).fixup(3, 0x30).u8_(0).u8_(9).bytes, image.loaded(), resolver);
    ASSERT_TRUE(report.ok()) << report.error();
    EXPECT_EQ(image.at(0x20), static_cast<u32>(image.data_base() + 0x10));
    EXPECT_EQ(image.at(0x30), static_cast<u32>(image.code_base() + 0x44));
}

TEST(LinkImage, StringConstantTextPointerIsSetOnceForManySites)
{
    Image image;
    image.put_data(0x08 + 0, 1);   // count
    image.put_data(0x08 + 12, 3);  // length
    image.put(0x50, 0x08);
    image.put(0x60, 0x08);
    FakeResolver resolver;
    ASSERT_TRUE(LinkImage(StreamBuilder().fixup(5, 0x50).fixup(5, 0x60).bytes, image.loaded(), resolver).ok());
    EXPECT_EQ(image.at(0x50), static_cast<u32>(image.data_base() + 0x08));
    EXPECT_EQ(image.at(0x60), static_cast<u32>(image.data_base() + 0x08));
    u32 text_pointer;
    std::memcpy(&text_pointer, image.data.data() + 0x08 + 4, 4);
    EXPECT_EQ(text_pointer, static_cast<u32>(image.data_base() + 0x08 + 20));
}

TEST(LinkImage, StreamOfZeroBytesPatchesNothing)
{
    Image image;
    const Bytes before = image.code;
    FakeResolver resolver;
    ASSERT_TRUE(LinkImage(Bytes(64, 0), image.loaded(), resolver).ok());
    EXPECT_EQ(image.code, before);
}

TEST(LinkImage, LibraryImports)
{
    Image image;
    image.put(0x10, 0);
    FakeResolver resolver;
    ASSERT_TRUE(
        LinkImage(StreamBuilder().library_import(0x10, "Proc", "good.dll").bytes, image.loaded(), resolver).ok());
    EXPECT_EQ(image.at(0x10),
              static_cast<u32>(reinterpret_cast<uintptr_t>(&g_library_proc) - image.code_base() - 0x14));
    Result<LinkReport> failed =
        LinkImage(StreamBuilder().library_import(0, "Other", "good.dll").bytes, image.loaded(), resolver);
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error(), "no Other in good.dll");
}

// Names are copied into C strings before they are looked up, so a NUL byte ends each one.
TEST(LinkImage, NamesAreLookedUpUpToTheirFirstNul)
{
    Image image;
    image.put(0x10, 0);
    image.put(0x20, 0);
    FakeResolver resolver;
    Result<LinkReport> report =
        LinkImage(StreamBuilder()
                      .runtime_import(0, 0x10, std::string("RoutineA\0B", 10))
                      .library_import(0x20, std::string("Proc\0x", 6), std::string("good.dll\0x", 10))
                      .bytes,
                  image.loaded(), resolver);
    ASSERT_TRUE(report.ok()) << report.error();
    EXPECT_TRUE(report->unbound.empty());
    EXPECT_EQ(image.at(0x10), static_cast<u32>(reinterpret_cast<uintptr_t>(&g_routine_a)));
    EXPECT_EQ(image.at(0x20),
              static_cast<u32>(reinterpret_cast<uintptr_t>(&g_library_proc) - image.code_base() - 0x24));
}

TEST(LinkImage, FixedUpAddressesMayPointOutsideTheirSegment)
{
    // &g[i - 1] with g at data offset 0 is data offset -4: the code computes with it and never
    // reads there. Only sites are the linker's to check.
    Image image;
    image.put(0x20, 0xFFFFFFFC);
    image.put(0x30, 0x1000);
    FakeResolver resolver;
    Result<LinkReport> report =
        LinkImage(StreamBuilder().fixup(2, 0x20).fixup(3, 0x30).bytes, image.loaded(), resolver);
    ASSERT_TRUE(report.ok()) << report.error();
    EXPECT_EQ(image.at(0x20), static_cast<u32>(image.data_base() - 4));
    EXPECT_EQ(image.at(0x30), static_cast<u32>(image.code_base() + 0x1000));
}

// Code may begin with the entry's own instructions, so its first bytes hold sites like any
// others; what matters is that all four bytes lie inside the code.
TEST(LinkImage, AnySiteWhoseFourBytesLieInTheCodeIsPatched)
{
    struct Case {
        const char* name;
        Bytes stream;
        u32 site;
        u32 before;  // what the site holds in the file
        u32 (*expected)(Image&, u32 site);
    };
    static auto call_to_a = [](Image& i, u32 site) {
        return static_cast<u32>(reinterpret_cast<uintptr_t>(&g_routine_a) - (i.code_base() + site + 4));
    };
    const Case cases[] = {
        {"call at byte 0: chain head at site 1", StreamBuilder().runtime_import(1, 0x01, "RoutineA").bytes, 0x01, 0,
         call_to_a},
        {"chain whose link leads into site 4", StreamBuilder().runtime_import(0, 0x40, "RoutineB").bytes, 0x04, 0,
         [](Image&, u32) { return static_cast<u32>(reinterpret_cast<uintptr_t>(&g_routine_b)); }},
        {"code fixup at site 0", StreamBuilder().fixup(3, 0x00).bytes, 0x00, 0x30,
         [](Image& i, u32) { return static_cast<u32>(i.code_base() + 0x30); }},
        {"data fixup at site 2", StreamBuilder().fixup(2, 0x02).bytes, 0x02, 0x10,
         [](Image& i, u32) { return static_cast<u32>(i.data_base() + 0x10); }},
        {"string fixup at site 4", StreamBuilder().fixup(5, 0x04).bytes, 0x04, 0x08,
         [](Image& i, u32) { return static_cast<u32>(i.data_base() + 0x08); }},
        {"the code's last four bytes", StreamBuilder().runtime_import(1, 0x1FC, "RoutineA").bytes, 0x1FC, 0, call_to_a},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image image;
        image.put(0x40, 0x04);  // the chain link of the second case, a plain nop word otherwise
        image.put(c.site, c.before);
        FakeResolver resolver;
        Result<LinkReport> report = LinkImage(c.stream, image.loaded(), resolver);
        ASSERT_TRUE(report.ok()) << report.error();
        EXPECT_EQ(image.at(c.site), c.expected(image, c.site));
    }
}

TEST(LinkImage, NamesInMessagesAreEscaped)
{
    const std::string name("Msg\0Box\x1b[2J\\", 12);
    Image image;
    image.put(0x10, 0x5000);  // a chain link outside the code, so the refusal names the import
    FakeResolver resolver;
    Result<LinkReport> refused =
        LinkImage(StreamBuilder().runtime_import(1, 0x10, name).bytes, image.loaded(), resolver);
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().find("import 'Msg\\x00Box\\x1b[2J\\\\' names site 0x5000"), std::string::npos)
        << refused.error();

    Image unbound;
    unbound.put(0x10, 0);
    test::AssertionCapture capture;
    ASSERT_TRUE(LinkImage(StreamBuilder().runtime_import(1, 0x10, name).bytes, unbound.loaded(), resolver).ok());
    ASSERT_EQ(capture.count(), 1u);
    EXPECT_NE(capture.reports()[0].find("Function 'Msg\\x00Box\\x1b[2J\\\\' was not exported"), std::string::npos)
        << capture.reports()[0];
}

struct MalformedCase {
    const char* name;
    Bytes stream;
    void (*prepare)(Image&);
    const char* message_part;
};

TEST(LinkImage, MalformedStreamsAreRefusedUntouched)
{
    const MalformedCase cases[] = {
        {"site outside the code", StreamBuilder().fixup(2, 0x1FD).bytes, nullptr, "outside the 512-byte code segment"},
        {"huge site", StreamBuilder().fixup(3, 0xFFFFFFFE).bytes, nullptr, "outside the"},
        {"chain link outside the code", StreamBuilder().runtime_import(1, 0x10, "RoutineA").bytes,
         [](Image& i) { i.put(0x10, 0x5000); }, "site 0x5000, outside"},
        {"chain that loops", StreamBuilder().runtime_import(1, 0x10, "RoutineA").bytes,
         [](Image& i) {
             i.put(0x10, 0x20);
             i.put(0x20, 0x10);
         },
         "or its chain loops"},
        {"chain into itself", StreamBuilder().runtime_import(1, 0x10, "RoutineA").bytes,
         [](Image& i) { i.put(0x10, 0x10); }, "or its chain loops"},
        {"two fixups on one site", StreamBuilder().fixup(2, 0x10).fixup(3, 0x12).bytes,
         [](Image& i) { i.put(0x10, 0); }, "already patches"},
        {"fixup overlapping a chain's site", StreamBuilder().runtime_import(1, 0x01, "RoutineA").fixup(3, 0x00).bytes,
         [](Image& i) { i.put(0x01, 0); }, "site 0x0, which another fixup already patches"},
        {"string record cut by the segment end", StreamBuilder().fixup(5, 0x10).bytes,
         [](Image& i) { i.put(0x10, 0x70); }, "does not fit in the data segment"},
        {"string length beyond the segment", StreamBuilder().fixup(5, 0x10).bytes,
         [](Image& i) {
             i.put(0x10, 0x00);
             i.put_data(12, 0x7FFFFFFF);
         },
         "text bytes, more than the data segment holds"},
        {"string constants that overlap", StreamBuilder().fixup(5, 0x10).fixup(5, 0x20).bytes,
         [](Image& i) {
             i.put(0x10, 0x00);
             i.put(0x20, 0x08);  // its text pointer would be the first one's length
         },
         "record at offset 5: string fixup at site 0x20: the constant at data offset 0x8 overlaps the one at data "
         "offset 0x0"},
        // Found after sound records: nothing of theirs is written either.
        {"bad record after good ones",
         StreamBuilder().runtime_import(1, 0x10, "RoutineA").fixup(2, 0x20).fixup(5, 0x30).fixup(3, 0x1FD).bytes,
         [](Image& i) {
             i.put(0x10, 0x40);
             i.put(0x40, 0);
             i.put(0x30, 0);  // the constant at data offset 0, its text pointer still 0
         },
         "outside the 512-byte code segment"},
        {"truncated import", Bytes{1, 1, 0x10, 0}, nullptr, "runtime import is cut off"},
        {"truncated name", Bytes{1, 1, 0, 0, 0, 0, 5, 'a', 'b'}, nullptr, "routine name is cut off"},
        {"truncated fixup", Bytes{2, 0x10}, nullptr, "cut off before its site"},
        {"truncated library", Bytes{4, 0, 0, 0, 0, 1, 'P', 0, 3, 'l'}, nullptr, "library name is cut off"},
    };
    for (const MalformedCase& c : cases) {
        SCOPED_TRACE(c.name);
        Image image;
        if (c.prepare)
            c.prepare(image);
        const Bytes code_before = image.code;
        const Bytes data_before = image.data;
        FakeResolver resolver;
        Result<LinkReport> report = LinkImage(c.stream, image.loaded(), resolver);
        ASSERT_FALSE(report.ok());
        EXPECT_NE(report.error().find(c.message_part), std::string::npos) << report.error();
        EXPECT_EQ(image.code, code_before);
        EXPECT_EQ(image.data, data_before);
    }
}

}  // namespace

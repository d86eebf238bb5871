// qvimage against damaged objects: a few hundred seeded variants of real compiled objects,
// each with header fields, section headers, symbols, relocations, string constants or single
// bytes changed. Whatever the damage, qvimage either refuses the object with one printable
// line or writes an image within the size limits that the loader's linker accepts. Run in the
// sanitizer build too, where any read outside a buffer stops the suite.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "loader/image_format.h"
#include "loader/import_linker.h"
#include "loader/message_text.h"
#include "tests/tools/qvimage_test_support.h"
#include "tools/qvimage/image_layout.h"

namespace {

using namespace qvimage;
using namespace qvimage::test;

constexpr u32 kSeed = 20261210;
constexpr int kVariantsPerObject = 300;

// Every routine is found: whether the loader accepts an image must not hang on names.
class AnyRoutine : public qv::ImportResolver {
public:
    const void* runtime_routine(std::string_view) override { return &m_routine; }
    const void* unbound_import(std::string_view) override { return &m_routine; }
    const void* library_procedure(std::string_view, std::string_view, std::string& message) override
    {
        message = "qvimage writes no library imports";
        return nullptr;
    }

private:
    int m_routine = 0;
};

// Where the interesting fields of an object lie, read from its (undamaged) headers.
struct ObjectMap {
    struct Table {
        size_t offset;
        size_t size;
    };
    u32 section_headers = 0;
    u32 section_count = 0;
    Table symbols{0, 0};
    std::vector<Table> relocations;
    std::vector<Table> constants;
};

ObjectMap map_object(const Bytes& object)
{
    ObjectMap map;
    map.section_headers = qv::load_u32(object.data() + 32);
    map.section_count = qv::load_u16(object.data() + 48);
    for (u32 i = 1; i < map.section_count; ++i) {
        const u8* h = object.data() + map.section_headers + 40 * i;
        const ObjectMap::Table table{qv::load_u32(h + 16), qv::load_u32(h + 20)};
        const u32 type = qv::load_u32(h + 4);
        if (type == kShtSymtab)
            map.symbols = table;
        else if (type == kShtRel)
            map.relocations.push_back(table);
    }
    const size_t constants = section_header_offset(object, ".qvstr");
    if (constants != 0)
        map.constants.push_back(
            {qv::load_u32(object.data() + constants + 16), qv::load_u32(object.data() + constants + 20)});
    return map;
}

class Mutator {
public:
    Mutator(const Bytes& object, u32 seed) : m_original(object), m_map(map_object(object)), m_random(seed) { }

    // A copy of the object with one to three fields changed, and what was changed.
    Bytes variant(std::string& description)
    {
        Bytes bytes = m_original;
        const int changes = pick(1, 3);
        for (int k = 0; k < changes; ++k)
            mutate(bytes, description);
        return bytes;
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    u32 value_near(u32 original)
    {
        static const u32 interesting[] = {0,         1,         2,          3,          4,          8,         0x7f,
                                          0x80,      0xff,      0x100,      0xfff,      0x1000,     0xffff,    0x10000,
                                          0x3ffffff, 0x4000000, 0x7fffffff, 0x80000000, 0xfffffffc, 0xffffffff};
        switch (pick(0, 3)) {
        case 0: return interesting[pick(0, std::size(interesting) - 1)];
        case 1: return original + static_cast<u32>(pick(-8, 8));
        case 2: return original ^ (1u << pick(0, 31));
        default: return static_cast<u32>(m_random());
        }
    }

    void put(Bytes& bytes, size_t offset, int width, std::string& description, const char* what)
    {
        if (offset + width > bytes.size())
            return;
        u32 original = 0;
        for (int i = 0; i < width; ++i)
            original |= u32{bytes[offset + i]} << (8 * i);
        const u32 value = value_near(original);
        for (int i = 0; i < width; ++i)
            bytes[offset + i] = static_cast<u8>(value >> (8 * i));
        description += std::string(what) + "@" + qv::hex(static_cast<u32>(offset)) + "=" + qv::hex(value) + " ";
    }

    void mutate(Bytes& bytes, std::string& description)
    {
        switch (pick(0, 7)) {
        case 0: {  // ELF header: type, machine, the section header table, counts and indexes
            static const std::pair<size_t, int> fields[] = {{16, 2}, {18, 2}, {32, 4}, {46, 2}, {48, 2}, {50, 2}};
            const auto [offset, width] = fields[pick(0, std::size(fields) - 1)];
            return put(bytes, offset, width, description, "header");
        }
        case 1:
        case 2: {  // a section header field, section 0 included
            const size_t header = m_map.section_headers + 40 * pick(0, static_cast<int>(m_map.section_count) - 1);
            return put(bytes, header + 4 * pick(0, 9), 4, description, "section");
        }
        case 3: {  // a symbol's name, value, size, info or section index
            if (m_map.symbols.size < 16)
                break;
            const size_t symbol = m_map.symbols.offset + 16 * pick(0, static_cast<int>(m_map.symbols.size / 16) - 1);
            static const std::pair<size_t, int> fields[] = {{0, 4}, {4, 4}, {8, 4}, {12, 1}, {14, 2}};
            const auto [offset, width] = fields[pick(0, std::size(fields) - 1)];
            return put(bytes, symbol + offset, width, description, "symbol");
        }
        case 4: {  // a relocation's offset, type or symbol
            if (m_map.relocations.empty())
                break;
            const ObjectMap::Table& table = m_map.relocations[pick(0, static_cast<int>(m_map.relocations.size()) - 1)];
            if (table.size < 8)
                break;
            const size_t entry = table.offset + 8 * pick(0, static_cast<int>(table.size / 8) - 1);
            static const std::pair<size_t, int> fields[] = {{0, 4}, {4, 1}, {5, 2}, {4, 4}};
            const auto [offset, width] = fields[pick(0, std::size(fields) - 1)];
            return put(bytes, entry + offset, width, description, "relocation");
        }
        case 5: {  // a relocation moved onto (or across) another one's site
            if (m_map.relocations.empty())
                break;
            const ObjectMap::Table& table = m_map.relocations[pick(0, static_cast<int>(m_map.relocations.size()) - 1)];
            if (table.size < 16)
                break;
            const int count = static_cast<int>(table.size / 8);
            const size_t moved = table.offset + 8 * pick(0, count - 1);
            const u32 site = qv::load_u32(bytes.data() + table.offset + 8 * pick(0, count - 1)) + pick(-3, 3);
            qv::store_u32(bytes.data() + moved, site);
            description += "relocation@" + qv::hex(static_cast<u32>(moved)) + "=" + qv::hex(site) + " ";
            return;
        }
        case 6: {  // a word of the string constants
            if (m_map.constants.empty() || m_map.constants[0].size < 4)
                break;
            const ObjectMap::Table& table = m_map.constants[0];
            return put(bytes, table.offset + 4 * pick(0, static_cast<int>(table.size / 4) - 1), 4, description,
                       "constant");
        }
        default: break;
        }
        const size_t offset = static_cast<size_t>(pick(0, static_cast<int>(bytes.size()) - 1));
        put(bytes, offset, 1, description, "byte");
    }

    const Bytes& m_original;
    ObjectMap m_map;
    std::mt19937 m_random;
};

bool is_one_printable_line(const std::string& text)
{
    if (text.empty())
        return false;
    for (const char c : text) {
        if (static_cast<u8>(c) < 0x20 || static_cast<u8>(c) > 0x7e)
            return false;
    }
    return true;
}

TEST(QvimageMutations, RefusedWithOneLineOrAcceptedByTheLoader)
{
    int accepted = 0, refused = 0;
    for (const char* fixture : {"image_basic", "negative_addend"}) {
        const Bytes original = read_bytes(fixture_path(fixture));
        ASSERT_FALSE(original.empty()) << fixture;
        ASSERT_TRUE(convert(original).ok()) << fixture;
        Mutator mutator(original, kSeed);
        for (int n = 0; n < kVariantsPerObject; ++n) {
            std::string description;
            const Bytes object = mutator.variant(description);
            SCOPED_TRACE(std::string(fixture) + " variant " + std::to_string(n) + ": " + description);
            const qv::Result<ApplicationImage> image = convert(object);
            if (!image) {
                ++refused;
                EXPECT_TRUE(is_one_printable_line(image.error())) << image.error();
                continue;
            }
            ++accepted;
            // Within the stated limits: each 8-byte relocation adds at most one import record
            // (a 262-byte name record or a 5-byte fixup).
            EXPECT_LE(image.value().code.size(), kMaxSegmentSize);
            EXPECT_LE(image.value().data.size(), kMaxSegmentSize);
            EXPECT_LE(image.value().imports.size(), object.size() / 8 * (qv::kMaxNameLength + 7));
            Bytes code = image.value().code;
            Bytes data = image.value().data;
            AnyRoutine resolver;
            const qv::Result<qv::LinkReport> linked = qv::LinkImage(
                image.value().imports,
                {code.data(), static_cast<u32>(code.size()), data.data(), static_cast<u32>(data.size())}, resolver);
            EXPECT_TRUE(linked.ok()) << "qvimage wrote an image the loader refuses: " << linked.error();
        }
    }
    // Both outcomes occur, or the variants test nothing.
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
    std::printf("qvimage mutations: %d accepted, %d refused\n", accepted, refused);
}

}  // namespace

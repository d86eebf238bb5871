// Mass property tables applied to a real object through its class's property table: each value
// encoding, generic and named setters, table order, and every malformed table, which must be
// reported and never read past its end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/definitions/class_registry.h"
#include "runtime/definitions/object_definition.h"
#include "runtime/strings/string_ref.h"
#include "tests/support/assertion_capture.h"
#include "tests/support/string_helpers.h"
#include "tests/ui/test_control_class.h"
#include "ui/object_property_target.h"
#include "ui/ui_routines.h"

namespace qv::ui {
namespace {

using test::text_of;
using Bytes = std::vector<u8>;

// Entry builders: a 2-byte index, then the value as the table encodes it.
Bytes entry(u16 index, Bytes value)
{
    Bytes out{static_cast<u8>(index >> 8), static_cast<u8>(index)};
    for (u8 byte : value)  // (insert() trips a false array-bounds warning of GCC 12 here)
        out.push_back(byte);
    return out;
}
Bytes be32(u32 v)
{
    return {static_cast<u8>(v >> 24), static_cast<u8>(v >> 16), static_cast<u8>(v >> 8), static_cast<u8>(v)};
}
Bytes text(const std::string& s)
{
    Bytes out = be32(static_cast<u32>(s.size()));
    for (char c : s)
        out.push_back(static_cast<u8>(c));
    return out;
}
Bytes cat(std::initializer_list<Bytes> parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        for (u8 byte : part)
            out.push_back(byte);
    return out;
}

template <typename T>
T field(RuntimeObject* object, i32 offset)
{
    T value;
    std::memcpy(&value, reinterpret_cast<u8*>(object) + offset, sizeof value);
    return value;
}

// The fields a table can change, those that differ from a new object's, in offset order.
std::string describe(RuntimeObject* object)
{
    std::string out;
    auto add = [&](const std::string& part) { out += (out.empty() ? "" : " ") + part; };
    auto add_text = [&](const char* name, i32 offset) {
        if (RuntimeString* s = field<RuntimeString*>(object, offset))
            add(std::string(name) + "=\"" + text_of(s) + "\"");
    };
    add_text("Name", 40);
    if (i32 index = field<i32>(object, 44))
        add("Index=" + std::to_string(index));
    if (u8 visible = field<u8>(object, 52))
        add("Visible=" + std::to_string(visible));
    if (u8 lock = field<u8>(object, 58))
        add("LockLeft=" + std::to_string(lock));
    add_text("Caption", 84);
    add_text("HelpTag", 92);
    if (i32 color = field<i32>(object, test::kTextColorOffset)) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%06X", static_cast<unsigned>(color));
        add(std::string("TextColor=") + hex);
    }
    if (float size = field<float>(object, test::kTextSizeOffset))
        add("TextSize=" + std::to_string(size));
    if (double ratio = field<double>(object, test::kRatioOffset))
        add("Ratio=" + std::to_string(ratio));
    return out;
}

class MassPropertyTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::setter_calls().clear();
        m_object = m_class.make();
    }
    void TearDown() override { test::TestControlClass::destroy(m_object); }

    MassTableResult apply(const Bytes& table)
    {
        ObjectPropertyTarget target(m_object);
        return apply_mass_property_table(table, target);
    }

    test::TestControlClass m_class;
    RuntimeObject* m_object = nullptr;
};

struct TableCase {
    const char* what;
    Bytes table;
    std::string fields;  // describe() afterwards
    MassTableEnd end;
    size_t offset;                        // where reading stopped
    std::vector<std::string> conditions;  // the reports, in order
};

const char* const kBadIndex = "Failure Condition: destIndex < propTableCount";
const char* const kReadOnly = "Failure Condition: destProperty->setter\nAssignment to a read-only property.";
const char* const kIllegal = "Illegal type in mass property input.";
const char* const kTruncated = "Failure Condition: offset + size <= tableLength";

const Bytes kName = entry(0, text("Button1"));  // 13 bytes
const Bytes kVisible = entry(3, {1});           // 3 bytes

std::vector<TableCase> table_cases()
{
    return {
        {"an empty table", {}, "", MassTableEnd::Complete, 0, {}},
        {"one entry of each encoding",
         cat({kName, entry(1, be32(258)), entry(3, {2}), entry(4, {0x80}), entry(6, {0x12, 0x34, 0x56}),
              entry(7, be32(0x40490FDB)), entry(8, {0x40, 0x04, 0, 0, 0, 0, 0, 0})}),
         "Name=\"Button1\" Index=258 Visible=1 LockLeft=1 TextColor=123456 TextSize=3.141593 Ratio=2.500000",
         MassTableEnd::Complete,
         46,
         {}},
        {"a negative integer", entry(1, be32(0xFFFFFFFE)), "Index=-2", MassTableEnd::Complete, 6, {}},
        {"a zero Boolean byte after a set one", cat({kVisible, entry(3, {0})}), "", MassTableEnd::Complete, 6, {}},
        {"entries in table order, a later one winning",
         cat({entry(1, be32(5)), kName, entry(1, be32(1))}),
         "Name=\"Button1\" Index=1",
         MassTableEnd::Complete,
         25,
         {}},
        {"a string through the generic word", entry(11, text("OK")), "Caption=\"OK\"", MassTableEnd::Complete, 8, {}},
        {"a string holding zero bytes",
         entry(0, text(std::string("a\0b", 3))),
         std::string("Name=\"a\0b\"", 10),
         MassTableEnd::Complete,
         9,
         {}},

        {"an index equal to the property count",
         cat({kName, entry(13, be32(1)), kVisible}),
         "Name=\"Button1\"",
         MassTableEnd::BadIndex,
         13,
         {kBadIndex}},
        {"the largest index", entry(0xFFFF, {1}), "", MassTableEnd::BadIndex, 0, {kBadIndex}},
        {"a read-only property: reported, its value skipped",
         cat({entry(2, be32(7)), kVisible}),
         "Visible=1",
         MassTableEnd::Complete,
         9,
         {kReadOnly}},
        {"an object property", cat({entry(9, be32(0)), kVisible}), "", MassTableEnd::IllegalType, 0, {kIllegal}},
        {"a declaration without a type",
         cat({kVisible, entry(10, be32(1))}),
         "Visible=1",
         MassTableEnd::IllegalType,
         3,
         {kIllegal}},
        {"a read-only property without an encoding",
         entry(12, be32(0)),
         "",
         MassTableEnd::IllegalType,
         0,
         {kReadOnly, kIllegal}},
        {"one byte where an index belongs",
         cat({kVisible, {0}}),
         "Visible=1",
         MassTableEnd::Truncated,
         3,
         {kTruncated}},
        {"an integer cut short",
         cat({kVisible, entry(1, {0, 0, 1})}),
         "Visible=1",
         MassTableEnd::Truncated,
         3,
         {kTruncated}},
        {"an index with no Boolean byte", entry(3, {}), "", MassTableEnd::Truncated, 0, {kTruncated}},
        {"a colour of two bytes", entry(6, {1, 2}), "", MassTableEnd::Truncated, 0, {kTruncated}},
        {"a double cut short", entry(8, {0x40, 4, 0, 0}), "", MassTableEnd::Truncated, 0, {kTruncated}},
        {"a string length cut short", entry(0, {0, 0, 1}), "", MassTableEnd::Truncated, 0, {kTruncated}},
        {"a string longer than the rest of the table",
         cat({kVisible, entry(0, cat({be32(4), {'a', 'b', 'c'}}))}),
         "Visible=1",
         MassTableEnd::Truncated,
         3,
         {kTruncated}},
        {"the largest string length",
         entry(0, cat({be32(0xFFFFFFFF), {'a'}})),
         "",
         MassTableEnd::Truncated,
         0,
         {kTruncated}},
        {"a read-only value cut short", entry(2, {0}), "", MassTableEnd::Truncated, 0, {kReadOnly, kTruncated}},
    };
}

TEST_F(MassPropertyTable, AppliesWellFormedTablesAndStopsSafelyOnMalformedOnes)
{
    for (const TableCase& c : table_cases()) {
        SCOPED_TRACE(c.what);
        RuntimeObject* object = m_class.make();
        // Only the table's own bytes, in a block of exactly that size: ASan sees any overread.
        std::vector<u8> exact(c.table);
        exact.shrink_to_fit();
        test::AssertionCapture capture;
        ObjectPropertyTarget target(object);
        const MassTableResult result = apply_mass_property_table(exact, target);
        EXPECT_EQ(describe(object), c.fields);
        EXPECT_EQ(result.end, c.end);
        EXPECT_EQ(result.offset, c.offset);
        EXPECT_EQ(capture.count(), c.conditions.size());
        for (size_t i = 0; i < std::min(capture.count(), c.conditions.size()); ++i)
            EXPECT_NE(capture.reports()[i].find(c.conditions[i]), std::string::npos) << capture.reports()[i];
        test::TestControlClass::destroy(object);
    }
}

TEST_F(MassPropertyTable, NamedSettersGetTheParamAndTheDecodedValue)
{
    const MassTableResult result =
        apply(cat({entry(4, {2}), entry(7, be32(0xC1200000)), entry(5, text("caf\xC3\xA9")), entry(4, {0})}));
    EXPECT_EQ(result.applied, 4);
    EXPECT_EQ(test::setter_calls(),
              (std::vector<std::string>{"LockLeft(58)=1", "TextSize(108)=-10.000000",
                                        "HelpTag(92)=caf\xC3\xA9 enc=134217984 refs=1", "LockLeft(58)=0"}));
}

TEST_F(MassPropertyTable, StringsAreNewUtf8TextReleasedAfterTheCall)
{
    apply(cat({entry(0, text("Old")), entry(5, text("tip"))}));
    RuntimeString* name = field<RuntimeString*>(m_object, 40);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->refCount, 1);  // only the field's count is left
    EXPECT_EQ(name->encoding, QV_ENCODING_UTF8);
    EXPECT_EQ(field<RuntimeString*>(m_object, 92)->refCount, 1);

    // An empty string value replaces the old text with the empty string.
    apply(entry(0, text("")));
    EXPECT_EQ(string_length(field<RuntimeString*>(m_object, 40)), 0);
}

TEST_F(MassPropertyTable, TheExportedRoutineReadsTheTableStringAndIgnoresNil)
{
    const Bytes table = cat({kName, kVisible});
    StringRef constant = test::bytes_of(std::string(table.begin(), table.end()));
    RuntimeMassPropertySetter(nullptr, constant.get());
    RuntimeMassPropertySetter(m_object, nullptr);
    EXPECT_EQ(describe(m_object), "");
    RuntimeMassPropertySetter(m_object, constant.get());
    EXPECT_EQ(describe(m_object), "Name=\"Button1\" Visible=1");
    EXPECT_EQ(ui_routines().size(), 1u);
    EXPECT_EQ(ui_routines()[0].routine, reinterpret_cast<void*>(&RuntimeMassPropertySetter));
}

TEST_F(MassPropertyTable, AnObjectWithoutPropertiesRefusesEveryIndex)
{
    ClassRecord* bare = RuntimeNewClass(nullptr, 0, 0, 0, 0, 0);
    bare->instanceSize = 32;
    RuntimeObject* object = RuntimeNewObject(bare);
    {
        test::AssertionCapture capture;
        ObjectPropertyTarget target(object);
        EXPECT_EQ(apply_mass_property_table(entry(0, {1}), target).end, MassTableEnd::BadIndex);
        EXPECT_EQ(capture.count(), 1u);
    }
    RuntimeUnlockObject(object);
    GuardedDelete(bare);
}

TEST_F(MassPropertyTable, GenericSinglesAndDoublesStayInsideTheObject)
{
    // A class whose Double property lies past its instance: the store is refused.
    m_class.get()->propertyTable[8].parameter = test::kTestControlSize - 4;
    test::AssertionCapture capture;
    apply(entry(8, {0x40, 0x04, 0, 0, 0, 0, 0, 0}));
    m_class.get()->propertyTable[8].parameter = test::kRatioOffset;
    EXPECT_EQ(capture.count(), 1u);
    EXPECT_EQ(field<i32>(m_object, test::kTestControlSize - 4), 0);
}

// Built-in setters of the (self, value) form, marked in their property records, get the value
// alone; given the parameter first, they would take it for the value (a Timer's Mode its field
// offset, a MenuItem's Text nil).
std::vector<std::string> g_seen;
void count_setter(RuntimeObject*, i32 value) { g_seen.push_back("Count " + std::to_string(value)); }
void title_setter(RuntimeObject*, RuntimeString* text) { g_seen.push_back("Title " + text_of(text)); }
void flag_setter(RuntimeObject*, i32 value) { g_seen.push_back("Flag " + std::to_string(value)); }
void size_setter(RuntimeObject*, i32 param, i32 value)
{
    g_seen.push_back("Size(" + std::to_string(param) + ") " + std::to_string(value));
}

// Classes live for the process: built before the tests measure the allocator.
class MassPropertyTableSetters : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static const PropertyRecord kRecords[] = {
            {kPropertySetterWithoutParameter, "Count", &kIntegerType, nullptr, nullptr,
             reinterpret_cast<void*>(&count_setter), "count_setter", 36, 0},
            {kPropertySetterWithoutParameter, "Title", &kStringType, nullptr, nullptr,
             reinterpret_cast<void*>(&title_setter), "title_setter", 40, 0},
            {kPropertySetterWithoutParameter, "Flag", &kBooleanType, nullptr, nullptr,
             reinterpret_cast<void*>(&flag_setter), "flag_setter", 44, 0},
            {0, "Size", &kIntegerType, nullptr, nullptr, reinterpret_cast<void*>(&size_setter), "size_setter", 48, 0},
        };
        DefinitionSource source{};
        source.name = "TwoArgumentSetters";
        source.instance_size = 52;
        source.properties = kRecords;
        build_definition(s_definition, source);
        RegisterDefinition(&s_definition);
        s_class = ClassFromDefinition(&s_definition);
    }
    static inline ObjectDefinition s_definition{};
    static inline ClassRecord* s_class = nullptr;
};

TEST_F(MassPropertyTableSetters, SettersWithoutAParameterGetTheValueAlone)
{
    RuntimeObject* object = RuntimeNewObject(s_class);
    ASSERT_NE(object, nullptr);
    ObjectPropertyTarget target(object);
    g_seen.clear();
    const MassTableResult result = apply_mass_property_table(
        cat({entry(0, be32(7)), entry(1, text("title")), entry(2, {1}), entry(3, be32(9))}), target);
    EXPECT_EQ(result.applied, 4);
    EXPECT_EQ(g_seen, (std::vector<std::string>{"Count 7", "Title title", "Flag 1", "Size(48) 9"}));
    // The mark stays with the built-in record: the class's own flags do not carry it.
    EXPECT_EQ(s_definition.properties->userFlags & kPropertySetterWithoutParameter, 0u);
    RuntimeUnlockObject(object);
}

}  // namespace
}  // namespace qv::ui

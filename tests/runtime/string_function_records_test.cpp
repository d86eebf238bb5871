// The string functions in the global function table: each language name bound to its exported
// routine, the names the table lists twice registered twice, and every export findable.
#include <gtest/gtest.h>

#include <map>
#include <span>
#include <string>
#include <vector>

#include "runtime/definitions/global_functions.h"
#include "runtime/definitions/string_function_records.h"
#include "runtime/registry/entry_point_registry.h"
#include "sdk/quaver.h"

namespace {

using namespace qv;

class StringFunctionRecords : public ::testing::Test {
protected:
    // Registration takes table and registry memory for the life of the process. The runtime's
    // start-up may already have registered them; registering again must change nothing.
    static void SetUpTestSuite()
    {
        register_string_functions();
        s_count = global_function_count();
        register_string_functions();
        (void)FindEntryPoint(std::string_view("StringLeft"));
    }

    // The names of the table's records that are string function records, in table order.
    static std::vector<std::string> registered_names()
    {
        const std::span<const MethodRecord> records = string_function_records();
        std::vector<std::string> names;
        for (i32 i = 0; i < global_function_count(); ++i) {
            const MethodRecord* record = global_function_at(i);
            if (record >= records.data() && record < records.data() + records.size())
                names.emplace_back(record->name);
        }
        return names;
    }

    static i32 s_count;
};
i32 StringFunctionRecords::s_count = 0;

TEST_F(StringFunctionRecords, RegisteredOnceInTableOrder)
{
    EXPECT_EQ(global_function_count(), s_count);  // the second call added nothing
    const std::vector<std::string> names = registered_names();
    ASSERT_EQ(names.size(), 63u);
    std::map<std::string, int> times;
    for (const std::string& name : names)
        ++times[name];
    EXPECT_EQ(times["Mid"], 4);  // Mid (2) twice
    EXPECT_EQ(times["Left"], 2);
    EXPECT_EQ(times["InStr"], 1);
    EXPECT_EQ(names.front(), "LeftB");
    EXPECT_EQ(names[30], "Str");
    EXPECT_EQ(names.back(), "Val");
}

TEST_F(StringFunctionRecords, LanguageNamesReachTheirRoutines)
{
    struct Case {
        const char* name;
        i32 parameters;
        const TypeDescriptor* result;
        void* routine;
    };
    const Case cases[] = {
        {"Left", 2, &kStringType, reinterpret_cast<void*>(&StringDBCSLeft)},
        {"LeftB", 2, &kStringType, reinterpret_cast<void*>(&StringLeft)},
        {"Len", 1, &kIntegerType, reinterpret_cast<void*>(&StringDBCSLen)},
        {"Chr", 1, &kStringType, reinterpret_cast<void*>(&StringDBCSChr)},
        {"Uppercase", 1, &kStringType, reinterpret_cast<void*>(&StringUCase)},
        {"StrComp", 3, &kIntegerType, reinterpret_cast<void*>(&StringStrCompare)},
        {"Val", 1, &kDoubleType, reinterpret_cast<void*>(&StringVal)},
        {"CStr", 1, &kStringType, reinterpret_cast<void*>(&runCStr)},
        {"Format", 2, &kStringType, reinterpret_cast<void*>(&StringFormat)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool found = false;
        for (const MethodRecord& record : string_function_records()) {
            if (std::string(record.name) != c.name)
                continue;
            found = true;
            EXPECT_EQ(record.routine, c.routine);
            EXPECT_EQ(record.parameterCount, c.parameters);
            EXPECT_EQ(record.result, c.result);
        }
        EXPECT_TRUE(found);
    }
    // Mid and MidB come with two and three parameters.
    std::map<std::string, std::map<i32, void*>> overloads;
    for (const MethodRecord& record : string_function_records())
        overloads[record.name][record.parameterCount] = record.routine;
    EXPECT_EQ(overloads["Mid"][2], reinterpret_cast<void*>(&StringDBCSMid2));
    EXPECT_EQ(overloads["Mid"][3], reinterpret_cast<void*>(&StringDBCSMid3));
    EXPECT_EQ(overloads["MidB"][3], reinterpret_cast<void*>(&StringMid3));
}

TEST_F(StringFunctionRecords, EveryExportIsInTheRegistry)
{
    for (const MethodRecord& record : string_function_records()) {
        SCOPED_TRACE(record.exportName);
        const EntryPoint* entry = FindEntryPoint(std::string_view(record.exportName));
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->code, record.routine);
    }
}

}  // namespace

// EntryPointRegistry: the name index must answer what the loader's first-match scan answers
// (duplicates, names without a routine, case), appending and its assertions, and the process
// table: static entries, the runtime's own routines, and the sdk declarations behind them.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "debugger/debugger_support.h"
#include "runtime/memory/pool_allocator.h"
#include "runtime/registry/entry_point_registry.h"
#include "runtime/registry/provided_routines.h"
#include "sdk/quaver.h"
#include "tests/support/assertion_capture.h"
#include "tests/support/string_helpers.h"
#include "ui/ui_routines.h"
#include "ui/ui_service_routines.h"

namespace {

using namespace qv;

int g_routines[10];
void* routine(int i) { return &g_routines[i]; }

// Alternates the case of letters, so that no lookup below matches by exact bytes.
std::string mixed_case(const char* name, bool upper_first)
{
    std::string out(name);
    bool upper = upper_first;
    for (char& c : out) {
        if (std::isalpha(static_cast<unsigned char>(c))) {
            c = static_cast<char>(upper ? std::toupper(c) : std::tolower(c));
            upper = !upper;
        }
    }
    return out;
}

// A small static table with the cases that make "first match" subtle: the same name in
// different case with different routines, a name whose first entry has no routine, and a
// name that a byte above 0x7F matches ignoring case (0xF5 upper-cases to 'I').
const EntryPoint kSmallTable[] = {
    {"Alpha", routine(0)}, {"beta", nullptr},     {"ALPHA", routine(1)}, {"Beta", routine(2)},
    {"gamma", routine(3)}, {"Gamma", routine(3)}, {"iota", routine(6)},
};
constexpr i32 kSmallCount = 7;

TEST(EntryPointRegistry, IndexAnswersWhatTheFirstMatchScanAnswers)
{
    EntryPointRegistry registry(kSmallTable);
    registry.RegisterEntryPoint("delta", routine(4));
    registry.RegisterEntryPoint(nullptr, routine(5));  // kept, never found by name
    registry.RegisterEntryPoint("epsilon", nullptr);   // no routine: nothing at all
    ASSERT_EQ(registry.EntryPointCount(), kSmallCount + 2);
    EXPECT_EQ(registry.EntryPointAt(kSmallCount + 1)->name, nullptr);

    EXPECT_EQ(registry.FindEntryPoint("alpha"), &kSmallTable[0]);
    EXPECT_EQ(registry.FindEntryPoint("BETA"), nullptr) << "the first 'beta' has no routine";
    EXPECT_EQ(registry.FindEntryPoint("GaMMa"), &kSmallTable[4]);
    EXPECT_EQ(registry.FindEntryPoint("Delta"), registry.EntryPointAt(kSmallCount));
    EXPECT_EQ(registry.FindEntryPoint("epsilon"), nullptr);
    EXPECT_EQ(registry.FindEntryPoint("\xF5OTA"), &kSmallTable[6]);
    EXPECT_EQ(registry.FindEntryPoint(test::ascii("ALPHA")), &kSmallTable[0]);  // as a runtime string
    EXPECT_EQ(registry.FindEntryPoint(test::ascii("beta")), nullptr);

    for (const char* query : {"alpha", "ALPHA", "Alpha", "beta", "BETA", "bEtA", "gamma", "GAMMA", "delta", "DELTA",
                              "epsilon", "zeta", "", "alph", "alphaa", "\xF5ota", "\xF5\xF5"}) {
        EXPECT_EQ(registry.FindEntryPoint(query), registry.find_by_scan(query)) << query;
    }
    // Bytes past the end of a name never match it.
    EXPECT_EQ(registry.FindEntryPoint(std::string_view("alpha\0x", 7)), nullptr);
    EXPECT_EQ(registry.find_by_scan(std::string_view("alpha\0x", 7)), nullptr);

    // A name longer than a length byte can tell is still found whole.
    const std::string long_name = "long" + std::string(300, 'x');
    registry.RegisterEntryPoint(long_name.c_str(), routine(7));
    EXPECT_EQ(registry.FindEntryPoint("LONG" + std::string(300, 'X')), registry.EntryPointAt(kSmallCount + 2));
    EXPECT_EQ(registry.FindEntryPoint("LONG" + std::string(299, 'X')), nullptr);
}

TEST(EntryPointRegistry, RegisteringAnIndexedNameKeepsTheFirstEntry)
{
    struct Case {
        const char* name;
        void* routine;
        bool asserts;
    };
    const Case cases[] = {
        {"alpha", routine(0), false},  // the same routine again: accepted silently
        {"ALPHA", routine(1), true},   // the routine of the later static "ALPHA" is not the first's
        {"Beta", routine(2), true},    // the first "beta" has no routine: it cannot be given one
        {"gamma", routine(3), false},
    };
    for (const Case& c : cases) {
        EntryPointRegistry registry(kSmallTable);
        const EntryPoint* before = registry.find_by_scan(c.name);
        test::AssertionCapture capture;
        registry.RegisterEntryPoint(c.name, c.routine);
        EXPECT_EQ(capture.count(), c.asserts ? 1u : 0u) << c.name;
        EXPECT_EQ(capture.saw("relocentry", 2240), c.asserts) << c.name;
        EXPECT_EQ(registry.EntryPointCount(), kSmallCount) << c.name;
        EXPECT_EQ(registry.FindEntryPoint(c.name), before) << c.name;
    }
}

TEST(EntryPointRegistry, AppendedCapacityGrowsByTheIncrementOrDoubles)
{
    struct Case {
        i32 increment;
        i32 appends;
        i32 capacity;
    };
    const Case cases[] = {
        {0, 1, 16},  {0, 16, 16}, {0, 17, 32}, {0, 33, 64},  {5, 1, 16},
        {5, 17, 21}, {5, 22, 26}, {40, 1, 40}, {40, 41, 80},
    };
    for (const Case& c : cases) {
        std::vector<std::string> names;  // outlives the registry, which keeps the pointers
        for (i32 i = 0; i < c.appends; ++i)
            names.push_back("appended" + std::to_string(i));
        EntryPointRegistry registry(kSmallTable, c.increment);
        for (const std::string& name : names)
            registry.RegisterEntryPoint(name.c_str(), routine(9));
        EXPECT_EQ(registry.appended_capacity(), c.capacity) << c.increment << "/" << c.appends;
        ASSERT_EQ(registry.EntryPointCount(), kSmallCount + c.appends);
        for (i32 i = 0; i < c.appends; ++i)
            ASSERT_EQ(registry.FindEntryPoint(mixed_case(names[i].c_str(), true)),
                      registry.EntryPointAt(kSmallCount + i));
    }
}

TEST(EntryPointRegistry, AnEntryThatCannotBeAllocatedIsAnAssertion)
{
    EntryPointRegistry registry(kSmallTable);
    registry.FindEntryPoint("alpha");  // the index is built now, so the entry is the next allocation
    {
        test::AssertionCapture capture;
        pool_fail_after(0);
        registry.RegisterEntryPoint("delta", routine(4));
        pool_fail_after(-1);
        EXPECT_TRUE(capture.saw("relocentry", 2251));
    }
    EXPECT_EQ(registry.EntryPointCount(), kSmallCount);
    EXPECT_EQ(registry.FindEntryPoint("delta"), nullptr);
    registry.RegisterEntryPoint("delta", routine(4));
    EXPECT_EQ(registry.FindEntryPoint("delta"), registry.EntryPointAt(kSmallCount));
}

// The process's registry: built (index included) before any test measures allocator use.
class ProcessEntryPoints : public ::testing::Test {
protected:
    static void SetUpTestSuite() { FindEntryPoint("RuntimeLookupClass"); }
};

TEST_F(ProcessEntryPoints, StaticEntriesComeFirstThenAppendedOnes)
{
    EXPECT_STREQ(EntryPointAt(0)->name, "RuntimeInit");
    EXPECT_STREQ(EntryPointAt(kStaticEntryPointCount - 1)->name, "GetControlBounds");
    EXPECT_EQ(EntryPointAt(5)->code, reinterpret_cast<void*>(&RuntimeLookupClass));
    // The runtime's routines that the static table lacks are the first appended entries.
    ASSERT_GT(EntryPointCount(), kStaticEntryPointCount);
    EXPECT_STREQ(EntryPointAt(kStaticEntryPointCount)->name, "StringReplaceB");
    EXPECT_EQ(EntryPointAt(kStaticEntryPointCount)->code, reinterpret_cast<void*>(&StringReplaceB));
    EXPECT_EQ(EntryPointAt(-1), nullptr);
    EXPECT_EQ(EntryPointAt(EntryPointCount()), nullptr);
}

TEST_F(ProcessEntryPoints, EveryNameInAnyCaseFindsWhatTheScanFinds)
{
    EntryPointRegistry& registry = entry_point_registry();
    const i32 count = registry.EntryPointCount();
    i32 bound = 0;
    for (i32 i = 0; i < count; ++i) {
        const char* name = registry.EntryPointAt(i)->name;
        if (!name)
            continue;
        for (const std::string& query : {std::string(name), mixed_case(name, true), mixed_case(name, false)}) {
            const EntryPoint* found = registry.FindEntryPoint(query);
            ASSERT_EQ(found, registry.find_by_scan(query)) << query;
            bound += found != nullptr;
        }
    }
    EXPECT_GE(bound, 3 * static_cast<i32>(provided_routines().size()));
}

TEST_F(ProcessEntryPoints, EveryProvidedRoutineIsFoundUnderItsName)
{
    std::set<std::string> names;
    for (const ProvidedRoutine& provided : provided_routines()) {
        EXPECT_TRUE(names.insert(provided.name).second) << provided.name << " is listed twice";
        const EntryPoint* entry = FindEntryPoint(provided.name);
        ASSERT_NE(entry, nullptr) << provided.name;
        EXPECT_EQ(entry->code, provided.routine) << provided.name;
    }
}

// The sdk header declares what image code may import; each declaration must be provided.
TEST_F(ProcessEntryPoints, EveryRoutineDeclaredInTheSdkIsProvided)
{
    const std::string path = std::string(QUAVER_SOURCE_DIR) + "/sdk/quaver.h";
    std::ifstream file(path);
#ifdef _WIN32
    if (!file)
        file.open("Z:" + path);  // under Wine the Unix root is drive Z:
#endif
    ASSERT_TRUE(file) << path;
    std::stringstream text;
    text << file.rdbuf();
    std::string source = text.str();
    // Sections the Win32 libraries provide ("(Win32 framework)", "(Win32 controls)") are checked
    // by their own suites under Wine.
    for (size_t at; (at = source.find("(Win32 ")) != std::string::npos;) {
        const size_t next = source.find("/* ---- ", at);
        source.erase(at, next == std::string::npos ? std::string::npos : next - at);
    }

    // The runtime's own routines, and those the layers above it add (the debugger's, the ui
    // services', from their list and from their classes' tables).
    std::set<std::string> provided;
    for (const ProvidedRoutine& routine : provided_routines())
        provided.insert(routine.name);
    for (const ProvidedRoutine& routine : debugger_routines())
        provided.insert(routine.name);
    for (const ProvidedRoutine& routine : ui::ui_routines())
        provided.insert(routine.name);
    for (const ProvidedRoutine& routine : ui::ui_service_routines())
        provided.insert(routine.name);
    for (const ProvidedRoutine& routine : ui::ui_service_table_routines())
        provided.insert(routine.name);
    // A declaration: a line that starts with a type and ends in "name(...);".
    const std::regex declaration(R"(^(?!typedef|#| )[A-Za-z_][\w \*]*?\b(\w+)\([^;{]*\);)", std::regex::multiline);
    size_t declared = 0;
    for (auto it = std::sregex_iterator(source.begin(), source.end(), declaration); it != std::sregex_iterator();
         ++it) {
        ++declared;
        EXPECT_TRUE(provided.count((*it)[1].str())) << (*it)[1].str() << " is declared but not provided";
    }
    EXPECT_EQ(declared, provided.size());
}

}  // namespace

// The sdk header's Windows and controls sections against the layers' routines: every routine
// declared there is bound by name, every routine a layer lists is declared there, and every
// routine the layer's class tables name is bound to that routine and listed nowhere else.
#include <initializer_list>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "runtime/registry/entry_point_registry.h"
#include "tests/support/sdk_sections.h"
#include "tests/ui/win32/window_fixture.h"
#include "ui/controls/plugin_control.h"
#include "ui/controls/startup/control_layer.h"

namespace qv::ui::test {
namespace {

using SdkWindows = WindowTest;

void expect_section_bound(const char* marker, std::initializer_list<std::span<const ProvidedRoutine>> lists,
                          const std::vector<ProvidedRoutine>& table_routines)
{
    const std::string source = qv::test::sdk_source();
    ASSERT_FALSE(source.empty());
    const std::set<std::string> declared = qv::test::section_declarations(source, marker);
    EXPECT_GT(declared.size(), 50u) << marker;
    for (const std::string& name : declared) {
        const EntryPoint* entry = FindEntryPoint(std::string_view(name));
        EXPECT_TRUE(entry && entry->code) << name << " is declared but not bound";
    }
    std::set<std::string> listed;
    for (std::span<const ProvidedRoutine> list : lists) {
        for (const ProvidedRoutine& routine : list) {
            EXPECT_TRUE(listed.insert(routine.name).second) << routine.name << " is listed twice";
            EXPECT_TRUE(declared.count(routine.name)) << routine.name << " is provided but not declared";
            const EntryPoint* entry = FindEntryPoint(std::string_view(routine.name));
            EXPECT_TRUE(entry && entry->code == routine.routine) << routine.name << " is bound to another routine";
        }
    }
    // The tables also name routines of other sections (the generic accessors among them).
    for (const ProvidedRoutine& routine : table_routines) {
        EXPECT_FALSE(listed.count(routine.name)) << routine.name << " is listed although a table names it";
        const EntryPoint* entry = FindEntryPoint(std::string_view(routine.name));
        EXPECT_TRUE(entry && entry->code == routine.routine) << routine.name << " is bound to another routine";
    }
}

TEST_F(SdkWindows, EveryWindowRoutineIsDeclaredAndBoundByName)
{
    expect_section_bound("(Win32 windows)", {window_routines()}, window_table_routines());
}

TEST_F(SdkWindows, EveryControlRoutineIsDeclaredAndBoundByName)
{
    expect_section_bound("(Win32 controls)", {control_routines(), plugin_control_routines()}, control_table_routines());
}

}  // namespace
}  // namespace qv::ui::test

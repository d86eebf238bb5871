// The sdk header's Windows section against the window layer's routine list: every routine
// declared there is bound by name, and every routine the layer provides is declared there.
#include <set>

#include "runtime/registry/entry_point_registry.h"
#include "tests/support/sdk_sections.h"
#include "tests/ui/win32/window_fixture.h"

namespace qv::ui::test {
namespace {

using SdkWindows = WindowTest;

TEST_F(SdkWindows, EveryWindowRoutineIsDeclaredAndBoundByName)
{
    const std::string source = qv::test::sdk_source();
    ASSERT_FALSE(source.empty());
    const std::set<std::string> declared = qv::test::section_declarations(source, "(Win32 windows)");
    EXPECT_GT(declared.size(), 50u);
    for (const std::string& name : declared) {
        const EntryPoint* entry = FindEntryPoint(std::string_view(name));
        EXPECT_TRUE(entry && entry->code) << name << " is declared but not bound";
    }
    std::set<std::string> listed;
    for (const ProvidedRoutine& routine : window_routines()) {
        EXPECT_TRUE(listed.insert(routine.name).second) << routine.name << " is listed twice";
        EXPECT_TRUE(declared.count(routine.name)) << routine.name << " is provided but not declared";
        const EntryPoint* entry = FindEntryPoint(std::string_view(routine.name));
        EXPECT_TRUE(entry && entry->code == routine.routine) << routine.name << " is bound to another routine";
    }
}

}  // namespace
}  // namespace qv::ui::test

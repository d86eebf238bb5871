// The sdk header's plug-in sections against what the runtime provides: every routine a plug-in
// resolves by name is declared and bound, and the plug-in routine lists hold nothing undeclared.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "framework/plugins/plugin_registry.h"
#include "runtime/registry/entry_point_registry.h"
#include "tests/support/sdk_sections.h"
#include "ui/controls/plugin_control.h"

namespace qv {
namespace {

TEST(PluginSdk, PluginRoutinesAreDeclaredAndBoundByName)
{
    const std::string source = test::sdk_source();
    ASSERT_FALSE(source.empty());
    const std::set<std::string> controls = test::section_declarations(source, "(Win32 controls)");
    const std::set<std::string> framework = test::section_declarations(source, "(Win32 framework)");
    for (const auto& [list, declared] :
         {std::pair{plugin_routines(), &framework}, std::pair{ui::plugin_control_routines(), &controls}}) {
        ASSERT_FALSE(list.empty());
        for (const ProvidedRoutine& routine : list) {
            EXPECT_TRUE(declared->count(routine.name)) << routine.name << " is provided but not declared";
            const EntryPoint* entry = FindEntryPoint(std::string_view(routine.name));
            EXPECT_TRUE(entry && entry->code == routine.routine) << routine.name << " is not bound";
        }
    }
}

}  // namespace
}  // namespace qv

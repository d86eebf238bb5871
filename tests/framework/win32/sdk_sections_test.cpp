// The sdk header's Win32 framework sections against what the framework provides: every routine
// declared there is bound in the registry under its name, and every routine the framework
// lists is declared.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "framework/application/application_class.h"
#include "framework/application/application_services.h"
#include "framework/event_loop/loop_routines.h"
#include "framework/menus/menu_dispatch.h"
#include "framework/plugins/plugin_registry.h"
#include "framework/startup/runtime_entry_points.h"
#include "framework/startup/windows_startup.h"
#include "runtime/registry/entry_point_registry.h"
#include "tests/support/sdk_sections.h"

namespace qv {
namespace {

TEST(SdkSections, FrameworkRoutinesAreDeclaredAndBoundByName)
{
    start_framework_runtime();
    const std::string source = test::sdk_source();
    ASSERT_FALSE(source.empty());
    const std::set<std::string> declared = test::section_declarations(source, "(Win32 framework)");
    EXPECT_GT(declared.size(), 50u);
    for (const std::string& name : declared) {
        const EntryPoint* entry = FindEntryPoint(std::string_view(name));
        EXPECT_TRUE(entry && entry->code) << name << " is declared but not bound";
    }
    std::set<std::string> listed;
    for (auto list : {startup_routines(), application_routines(), loop_routines(), menu_routines(),
                      application_service_routines(), plugin_routines()}) {
        for (const ProvidedRoutine& routine : list) {
            EXPECT_TRUE(listed.insert(routine.name).second) << routine.name << " is listed twice";
            EXPECT_TRUE(declared.count(routine.name)) << routine.name << " is provided but not declared";
        }
    }
    // What the classes' tables name (the generic accessors among them) is bound to that routine,
    // and no list repeats it.
    for (const ProvidedRoutine& routine : framework_table_routines()) {
        EXPECT_FALSE(listed.count(routine.name)) << routine.name << " is listed although a table names it";
        const EntryPoint* entry = FindEntryPoint(std::string_view(routine.name));
        EXPECT_TRUE(entry && entry->code == routine.routine) << routine.name << " is bound to another routine";
    }
}

}  // namespace
}  // namespace qv

// The sdk header's graphics section against the graphics library: every routine declared
// there is bound in the registry under its name, and every routine the library lists is
// declared.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "framework/startup/windows_startup.h"
#include "graphics/graphics_routines.h"
#include "runtime/definitions/class_registry.h"
#include "runtime/registry/entry_point_registry.h"
#include "tests/support/sdk_sections.h"

namespace qv::graphics {
namespace {

TEST(GraphicsSdkSection, RoutinesAreDeclaredAndBoundByName)
{
    register_graphics();
    start_framework_runtime();
    const std::string source = qv::test::sdk_source();
    ASSERT_FALSE(source.empty());
    const std::set<std::string> declared = qv::test::section_declarations(source, "(Win32 graphics)");
    EXPECT_GT(declared.size(), 40u);
    for (const std::string& name : declared) {
        const EntryPoint* entry = FindEntryPoint(std::string_view(name));
        EXPECT_TRUE(entry && entry->code) << name << " is declared but not bound";
    }
    // The routines the layer lists and those its classes' tables name: together, the section.
    std::set<std::string> listed;
    for (auto list : {std::vector<ProvidedRoutine>(graphics_routines().begin(), graphics_routines().end()),
                      graphics_table_routines()}) {
        for (const ProvidedRoutine& routine : list) {
            EXPECT_TRUE(listed.insert(routine.name).second) << routine.name << " is listed twice";
            EXPECT_TRUE(declared.count(routine.name)) << routine.name << " is provided but not declared";
            const EntryPoint* entry = FindEntryPoint(std::string_view(routine.name));
            EXPECT_TRUE(entry && entry->code == routine.routine) << routine.name << " is bound to another routine";
        }
    }
    EXPECT_EQ(listed, declared);
    for (const char* name : {"Graphics", "Picture"})
        EXPECT_NE(find_registered_definition(StringRef::FromCString(name)), nullptr) << name;
}

}  // namespace
}  // namespace qv::graphics

// The sdk header's Win32 framework sections against what the framework provides: every routine
// declared there is bound in the registry under its name, and every routine the framework
// lists is declared.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "framework/application/application_class.h"
#include "framework/application/application_services.h"
#include "framework/event_loop/loop_routines.h"
#include "framework/menus/menu_dispatch.h"
#include "framework/startup/runtime_entry_points.h"
#include "framework/startup/windows_startup.h"
#include "framework/timers/thread_classes.h"
#include "framework/timers/timer_class.h"
#include "runtime/registry/entry_point_registry.h"

namespace qv {
namespace {

std::string sdk_source()
{
    const std::string path = std::string(QUAVER_SOURCE_DIR) + "/sdk/quaver.h";
    std::ifstream file(path);
    if (!file)
        file.open("Z:" + path);  // under Wine the Unix root is drive Z:
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Routine names declared in the sections whose titles say "(Win32 framework)".
std::set<std::string> framework_declarations(const std::string& source)
{
    std::set<std::string> declared;
    const std::regex declaration(R"(^(?!typedef|#| )[A-Za-z_][\w \*]*?\b(\w+)\([^;{]*\);)", std::regex::multiline);
    for (size_t at = 0; (at = source.find("(Win32 framework) ----", at)) != std::string::npos;) {
        const size_t end = source.find("/* ---- ", at);
        const std::string section = source.substr(at, end == std::string::npos ? std::string::npos : end - at);
        for (auto it = std::sregex_iterator(section.begin(), section.end(), declaration); it != std::sregex_iterator();
             ++it)
            declared.insert((*it)[1].str());
        at = end == std::string::npos ? source.size() : end;
    }
    return declared;
}

TEST(SdkSections, FrameworkRoutinesAreDeclaredAndBoundByName)
{
    start_framework_runtime();
    const std::string source = sdk_source();
    ASSERT_FALSE(source.empty());
    const std::set<std::string> declared = framework_declarations(source);
    EXPECT_GT(declared.size(), 50u);
    for (const std::string& name : declared) {
        const EntryPoint* entry = FindEntryPoint(std::string_view(name));
        EXPECT_TRUE(entry && entry->code) << name << " is declared but not bound";
    }
    std::set<std::string> listed;
    for (auto list : {startup_routines(), application_routines(), loop_routines(), menu_routines(),
                      application_service_routines(), timer_routines(), thread_routines()}) {
        for (const ProvidedRoutine& routine : list) {
            EXPECT_TRUE(listed.insert(routine.name).second) << routine.name << " is listed twice";
            EXPECT_TRUE(declared.count(routine.name)) << routine.name << " is provided but not declared";
        }
    }
}

}  // namespace
}  // namespace qv

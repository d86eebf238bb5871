// The sdk header's Windows section against the window layer's routine list: every routine
// declared there is bound by name, and every routine the layer provides is declared there.
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "runtime/registry/entry_point_registry.h"
#include "tests/ui/win32/window_fixture.h"

namespace qv::ui::test {
namespace {

std::string windows_section()
{
    const std::string path = std::string(QUAVER_SOURCE_DIR) + "/sdk/quaver.h";
    std::ifstream file(path);
    if (!file)
        file.open("Z:" + path);  // under Wine the Unix root is drive Z:
    std::stringstream text;
    text << file.rdbuf();
    const std::string source = text.str();
    const size_t at = source.find("/* ---- Windows (Win32 windows) ----");
    if (at == std::string::npos)
        return {};
    const size_t end = source.find("/* ---- ", at + 8);
    return source.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

using SdkWindows = WindowTest;

TEST_F(SdkWindows, EveryWindowRoutineIsDeclaredAndBoundByName)
{
    const std::string section = windows_section();
    ASSERT_FALSE(section.empty());
    std::set<std::string> declared;
    const std::regex declaration(R"(^(?!typedef|#| )[A-Za-z_][\w \*]*?\b(\w+)\([^;{]*\);)", std::regex::multiline);
    for (auto it = std::sregex_iterator(section.begin(), section.end(), declaration); it != std::sregex_iterator();
         ++it)
        declared.insert((*it)[1].str());
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

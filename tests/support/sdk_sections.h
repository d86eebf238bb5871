// Reading the sdk header's sections for the tests that check a library's routine list against
// the declarations image code sees. Needs QUAVER_SOURCE_DIR, the repository root.
#pragma once

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace qv::test {

inline std::string sdk_source()
{
    const std::string path = std::string(QUAVER_SOURCE_DIR) + "/sdk/quaver.h";
    std::ifstream file(path);
    if (!file)
        file.open("Z:" + path);  // under Wine the Unix root is drive Z:
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Routine names declared in the sections whose titles end in `marker` ("(Win32 framework)"),
// each section reaching to the next title.
inline std::set<std::string> section_declarations(const std::string& source, const std::string& marker)
{
    std::set<std::string> declared;
    const std::regex declaration(R"(^(?!typedef|#| )[A-Za-z_][\w \*]*?\b(\w+)\([^;{]*\);)", std::regex::multiline);
    const std::string title_end = marker + " ----";
    for (size_t at = 0; (at = source.find(title_end, at)) != std::string::npos;) {
        const size_t end = source.find("/* ---- ", at);
        const std::string section = source.substr(at, end == std::string::npos ? std::string::npos : end - at);
        for (auto it = std::sregex_iterator(section.begin(), section.end(), declaration); it != std::sregex_iterator();
             ++it)
            declared.insert((*it)[1].str());
        at = end == std::string::npos ? source.size() : end;
    }
    return declared;
}

}  // namespace qv::test

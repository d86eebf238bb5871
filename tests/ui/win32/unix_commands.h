// Running a Unix shell command from a test under Wine: xclip reaches the X clipboard of the
// session's display. Wine's ntdll starts Unix programs with its own environment (DISPLAY
// included). Outside Wine the commands are not available and the tests that need them skip.
#pragma once

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

namespace qv::test {

// Runs `/bin/sh -c command` and waits for it; false when Unix programs cannot be started.
inline bool run_unix_shell(const std::string& command)
{
    using Spawn = long(__cdecl*)(char* const argv[], int wait);
    static const auto s_spawn = reinterpret_cast<Spawn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "__wine_unix_spawnvp")));
    if (!s_spawn)
        return false;
    std::string shell = "/bin/sh", flag = "-c", text = command;
    char* argv[] = {shell.data(), flag.data(), text.data(), nullptr};
    return s_spawn(argv, 1) == 0;
}

// A Unix path as the Windows side opens it (the Unix root is drive Z:).
inline std::string windows_path(const std::string& unix_path) { return "Z:" + unix_path; }

inline std::string read_unix_file(const std::string& unix_path)
{
    std::ifstream file(windows_path(unix_path), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

inline void write_unix_file(const std::string& unix_path, const std::string& bytes)
{
    std::ofstream(windows_path(unix_path), std::ios::binary) << bytes;
}

}  // namespace qv::test

#include "platform/files.h"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

InputFile open_for_reading(const std::string& utf8_path) { return InputFile(std::fopen(utf8_path.c_str(), "rb")); }

i64 InputFile::size()
{
    struct stat info;
    if (!m_file || fstat(fileno(m_file), &info) != 0)
        return -1;
    return static_cast<i64>(info.st_size);
}

bool InputFile::seek(i64 position)
{
    return m_file && position >= 0 && fseeko(m_file, static_cast<off_t>(position), SEEK_SET) == 0;
}

std::string executable_path()
{
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
}

// Linux executables carry no Win32 resources: images are run from separate files or given
// to the runner explicitly.
std::optional<std::array<u8, 8>> find_image_locator() { return std::nullopt; }

}  // namespace platform

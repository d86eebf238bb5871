// Shared by the qvimage tests: the fixture objects that the build compiles from
// tests/tools/fixtures, and a temporary folder that cleans up after itself.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/types.h"
#include "tools/qvimage/elf_object.h"
#include "tools/qvimage/image_builder.h"

namespace qvimage::test {

using Bytes = std::vector<u8>;

inline std::string fixture_path(const std::string& name)
{
    return std::string(QVIMAGE_FIXTURE_DIR) + "/" + name + ".o";
}

inline Bytes read_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The fixture converted, or the message that refused it.
inline qv::Result<ApplicationImage> convert_fixture(const std::string& name, const std::string& entry = kDefaultEntry)
{
    const Bytes bytes = read_bytes(fixture_path(name));
    if (bytes.empty())
        return qv::Error{"fixture " + fixture_path(name) + " is missing"};
    qv::Result<ElfObject> object = parse_elf_object(bytes);
    if (!object)
        return qv::Error{object.error()};
    return build_image(object.value(), entry);
}

inline std::string hostile_path(const std::string& name) { return std::string(QVIMAGE_HOSTILE_DIR) + "/" + name; }

// The file offset of the header of the section named `name` in an object that parses, or 0.
inline size_t section_header_offset(const Bytes& object, const std::string& name)
{
    const qv::Result<ElfObject> parsed = parse_elf_object(object);
    if (!parsed)
        return 0;
    for (size_t i = 1; i < parsed.value().sections.size(); ++i) {
        if (parsed.value().sections[i].name == name)
            return qv::load_u32(object.data() + 32) + 40 * i;
    }
    return 0;
}

// The object as it converts: parsed and built, or the message that refused it.
inline qv::Result<ApplicationImage> convert(const Bytes& object)
{
    qv::Result<ElfObject> parsed = parse_elf_object(object);
    if (!parsed)
        return qv::Error{parsed.error()};
    return build_image(parsed.value());
}

class TempFolder {
public:
    TempFolder()
    {
        static int serial = 0;
        m_path = std::filesystem::temp_directory_path() /
            ("qvimage-test-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() { std::filesystem::remove_all(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string file(const std::string& name) const { return (m_path / name).string(); }
    std::string write(const std::string& name, const Bytes& bytes) const
    {
        std::ofstream(m_path / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return file(name);
    }

private:
    std::filesystem::path m_path;
};

}  // namespace qvimage::test

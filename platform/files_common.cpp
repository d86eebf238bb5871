// The parts of file access that stdio covers on every platform.
#include "platform/files.h"

namespace platform {

InputFile& InputFile::operator=(InputFile&& other) noexcept
{
    if (this != &other) {
        if (m_file)
            std::fclose(m_file);
        m_file = other.m_file;
        other.m_file = nullptr;
    }
    return *this;
}

InputFile::~InputFile()
{
    if (m_file)
        std::fclose(m_file);
}

bool InputFile::read(std::span<u8> out)
{
    return m_file && std::fread(out.data(), 1, out.size(), m_file) == out.size();
}

std::optional<std::vector<u8>> read_whole_file(const std::string& utf8_path)
{
    InputFile file = open_for_reading(utf8_path);
    if (!file.is_open())
        return std::nullopt;
    const i64 size = file.size();
    if (size < 0 || size > 0x7FFFFFFF)
        return std::nullopt;
    std::vector<u8> bytes(static_cast<size_t>(size));
    if (!file.read(bytes))
        return std::nullopt;
    return bytes;
}

}  // namespace platform

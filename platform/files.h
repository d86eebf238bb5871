// Reading files whole or in parts by UTF-8 path, and the running executable's own path and
// locator resource.
#pragma once

#include <array>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/types.h"

namespace platform {

// An open file for reading; closed when destroyed.
class InputFile {
public:
    InputFile() = default;
    explicit InputFile(std::FILE* file) : m_file(file) { }
    InputFile(InputFile&& other) noexcept : m_file(other.m_file) { other.m_file = nullptr; }
    InputFile& operator=(InputFile&& other) noexcept;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    bool is_open() const { return m_file != nullptr; }
    // Size in bytes, or -1 when it cannot be told.
    i64 size();
    bool seek(i64 position);
    // Reads exactly out.size() bytes; false when fewer were there.
    bool read(std::span<u8> out);

private:
    std::FILE* m_file = nullptr;
};

InputFile open_for_reading(const std::string& utf8_path);

// The whole file, or nothing when it cannot be opened or read.
std::optional<std::vector<u8>> read_whole_file(const std::string& utf8_path);

// The running program's own path.
std::string executable_path();

// The 8 bytes of the executable's "PICKLE" resource with id 101, when it carries one.
std::optional<std::array<u8, 8>> find_image_locator();

}  // namespace platform

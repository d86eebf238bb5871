#include "platform/files.h"
#include "platform/win32/windows_api.h"

#include <cstring>

namespace platform {

InputFile open_for_reading(const std::string& utf8_path)
{
    return InputFile(_wfopen(win32::widen(utf8_path.c_str()).c_str(), L"rb"));
}

i64 InputFile::size()
{
    if (!m_file)
        return -1;
    const long long here = _ftelli64(m_file);
    if (_fseeki64(m_file, 0, SEEK_END) != 0)
        return -1;
    const long long end = _ftelli64(m_file);
    _fseeki64(m_file, here, SEEK_SET);
    return end;
}

bool InputFile::seek(i64 position) { return m_file && position >= 0 && _fseeki64(m_file, position, SEEK_SET) == 0; }

std::string executable_path()
{
    wchar_t path[1024];
    const DWORD n = GetModuleFileNameW(nullptr, path, 1024);
    if (n == 0 || n >= 1024)
        return {};
    return win32::narrow(std::wstring_view(path, n));
}

std::optional<std::array<u8, 8>> find_image_locator()
{
    HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(101), L"PICKLE");
    if (!resource || SizeofResource(nullptr, resource) < 8)
        return std::nullopt;
    HGLOBAL loaded = LoadResource(nullptr, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes)
        return std::nullopt;
    std::array<u8, 8> locator;
    std::memcpy(locator.data(), bytes, 8);
    return locator;
}

}  // namespace platform

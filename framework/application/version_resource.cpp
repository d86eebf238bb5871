// The application's version properties, from the executable's own version resource. The
// resource is read on first use and kept; the texts are parsed by version_properties.
#include <string>
#include <vector>

#include "framework/version_properties.h"
#include "platform/win32/windows_api.h"
#include "runtime/strings/string_ref.h"

namespace qv {
namespace {

// The whole version resource; empty when the executable has none or it cannot be read.
std::vector<u8>& version_block()
{
    static std::vector<u8> s_block;
    static bool s_read = false;
    if (s_read)
        return s_block;
    s_read = true;
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(GetModuleHandleW(nullptr), path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size())
        return s_block;
    path.resize(length);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0)
        return s_block;
    s_block.resize(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, s_block.data()))
        std::vector<u8>().swap(s_block);
    return s_block;
}

// The value's text as UTF-8; empty when the resource or the value is missing.
std::string version_value(std::string_view name)
{
    const std::vector<u8>& block = version_block();
    if (block.empty())
        return {};
    void* text = nullptr;
    UINT length = 0;
    const std::wstring path = platform::win32::widen(version_value_path(name).c_str());
    if (!VerQueryValueW(block.data(), path.c_str(), &text, &length) || !text || length == 0)
        return {};
    const auto* chars = static_cast<const wchar_t*>(text);
    const int count = static_cast<int>(wcsnlen(chars, length));
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, chars, count, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, chars, count, utf8.data(), bytes, nullptr, nullptr);
    return utf8;
}

}  // namespace
}  // namespace qv

extern "C" {

int32_t AppIntegerVersionStuffGetter(RuntimeObject*, int32_t selector)
{
    return qv::version_integer(selector, qv::version_value("FileVersion"), qv::version_value("Release"));
}

RuntimeString* AppStringVersionStuffGetter(RuntimeObject*, int32_t selector)
{
    const std::string_view name = qv::version_string_value_name(selector);
    if (name.empty())
        return nullptr;
    const std::string value = qv::version_value(name);
    qv::StringRef text = qv::StringRef::FromBytes(value.data(), static_cast<i32>(value.size()));
    text.set_encoding(QV_ENCODING_UTF8);
    return text.leak();
}

}  // extern "C"

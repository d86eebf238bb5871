// The application's version properties, from the executable's own version resource. The
// resource is read on first use and kept; the texts are parsed by version_properties.
#include "framework/application/version_resource.h"

#include "framework/version_properties.h"
#include "platform/win32/windows_api.h"
#include "runtime/strings/string_ref.h"

namespace qv {

VersionResource::VersionResource(const std::wstring& path)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    if (size == 0)
        return;
    m_block.resize(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, m_block.data()))
        std::vector<u8>().swap(m_block);
}

std::string VersionResource::value(std::string_view name) const
{
    if (m_block.empty())
        return {};
    void* text = nullptr;
    UINT length = 0;
    const std::wstring path = platform::win32::widen(version_value_path(name).c_str());
    if (!VerQueryValueW(m_block.data(), path.c_str(), &text, &length) || !text || length == 0)
        return {};
    const auto* chars = static_cast<const wchar_t*>(text);
    return platform::win32::narrow(std::wstring_view(chars, wcsnlen(chars, length)));
}

i32 VersionResource::integer(i32 selector) const
{
    return version_integer(selector, value("FileVersion"), value("Release"));
}

RuntimeString* VersionResource::string(i32 selector) const
{
    const std::string_view name = version_string_value_name(selector);
    if (name.empty())
        return nullptr;
    const std::string text = value(name);
    StringRef result = StringRef::FromBytes(text.data(), static_cast<i32>(text.size()));
    result.set_encoding(QV_ENCODING_UTF8);
    return result.leak();
}

namespace {

const VersionResource& own_version_resource()
{
    static const VersionResource s_resource = [] {
        std::wstring path(32768, L'\0');
        const DWORD length =
            GetModuleFileNameW(GetModuleHandleW(nullptr), path.data(), static_cast<DWORD>(path.size()));
        path.resize(length < path.size() ? length : 0);
        return VersionResource(path);
    }();
    return s_resource;
}

}  // namespace
}  // namespace qv

extern "C" {

int32_t AppIntegerVersionStuffGetter(RuntimeObject*, int32_t selector)
{
    return qv::own_version_resource().integer(selector);
}

RuntimeString* AppStringVersionStuffGetter(RuntimeObject*, int32_t selector)
{
    return qv::own_version_resource().string(selector);
}

}  // extern "C"

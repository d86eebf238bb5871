#include "framework/startup/plugin_loading.h"

#include "framework/plugins/plugin_registry.h"
#include "platform/win32/failed_call.h"
#include "platform/win32/windows_api.h"

namespace qv {

bool load_plugin_library(const std::wstring& path)
{
    HMODULE module = LoadLibraryW(path.c_str());
    if (!module) {
        platform::win32::note_failed_call("LoadLibraryW", "a plug-in library");
        return false;
    }
    auto main =
        reinterpret_cast<QvPluginMainRoutine>(reinterpret_cast<void*>(GetProcAddress(module, "QuavPluginMain")));
    if (!main)
        return false;
    const std::string utf8 = platform::win32::narrow(path);
    StringRef utf8_path = StringRef::FromBytes(utf8.data(), static_cast<i32>(utf8.size()));
    utf8_path.set_encoding(QV_ENCODING_UTF8);
    run_plugin_main(main, module, utf8_path);
    return true;
}

void load_installed_plugins(std::span<const std::wstring> libraries)
{
    for (const std::wstring& path : libraries)
        load_plugin_library(path);
    build_plugin_classes();
}

}  // namespace qv

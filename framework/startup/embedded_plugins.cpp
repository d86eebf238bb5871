#include "framework/startup/embedded_plugins.h"

#include "framework/embedded_library_records.h"
#include "platform/process.h"
#include "platform/win32/windows_api.h"

#include <shlobj.h>

namespace qv {
namespace {

// How long a start-up waits for another instance that is installing: long enough for a
// normal install, short enough that a hung instance cannot block this one for good.
constexpr DWORD kMutexWaitMs = 4000;

InstallFailureHandler s_failure_handler = nullptr;

enum class Outcome { Written, Kept, Failed };

// Delete first, so that a copy left by an older image is replaced. A file that survives the
// delete is loaded by a running instance of a program that carries it, so it is used as is.
Outcome install_library(const std::wstring& path, std::span<const u8> bytes)
{
    DeleteFileW(path.c_str());
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return Outcome::Kept;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_WRITE_THROUGH, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return Outcome::Failed;
    DWORD written = 0;
    const DWORD size = static_cast<DWORD>(bytes.size());
    const bool ok = size == 0 || (WriteFile(file, bytes.data(), size, &written, nullptr) && written == size);
    CloseHandle(file);
    if (!ok) {
        DeleteFileW(path.c_str());  // a truncated library would load and crash later
        return Outcome::Failed;
    }
    return Outcome::Written;
}

std::wstring child_path(const std::wstring& folder, const std::string& name)
{
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/')
        path += L'\\';
    return path + platform::win32::widen(name.c_str());
}

bool is_folder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void release(HANDLE mutex)
{
    if (!mutex)
        return;
    ReleaseMutex(mutex);  // fails harmlessly when the wait timed out and it was never ours
    CloseHandle(mutex);
}

}  // namespace

std::wstring plugin_library_folder()
{
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)) && is_folder(path))
        return path;
    const DWORD length = GetTempPathW(MAX_PATH, path);
    std::wstring temp(path, length > 0 && length < MAX_PATH ? length : 0);
    while (!temp.empty() && temp.back() == L'\\')
        temp.pop_back();
    return temp;
}

std::vector<std::wstring> install_embedded_plugins(const WindowsResourceManager& resources, const std::wstring& folder,
                                                   InstalledLibraryLoader loader)
{
    const std::vector<EmbeddedLibrary> libraries = collect_embedded_libraries(resources);

    HANDLE mutex = CreateMutexW(nullptr, TRUE, L"QUAVER MUTEX");
    if (mutex && GetLastError() == ERROR_ALREADY_EXISTS)
        WaitForSingleObject(mutex, kMutexWaitMs);  // goes on when the wait ends either way

    std::vector<std::wstring> installed;
    bool failed = false;
    for (const EmbeddedLibrary& library : libraries) {
        std::wstring path = child_path(folder, library.file_name);
        if (install_library(path, library.bytes) == Outcome::Failed) {
            failed = true;
            break;
        }
        installed.push_back(std::move(path));
    }
    if (loader)
        loader(installed);

    if (failed) {
        if (s_failure_handler) {
            s_failure_handler(kPluginInstallFailureText);
            release(mutex);
            return installed;
        }
        MessageBoxW(nullptr, platform::win32::widen(kPluginInstallFailureText).c_str(), nullptr,
                    MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
        release(mutex);
        platform::exit_process(0);
    }
    release(mutex);
    return installed;
}

std::vector<std::wstring> InstallEmbeddedPlugins(InstalledLibraryLoader loader)
{
    return install_embedded_plugins(image_resources(), plugin_library_folder(), loader);
}

InstallFailureHandler set_install_failure_handler(InstallFailureHandler handler)
{
    const InstallFailureHandler previous = s_failure_handler;
    s_failure_handler = handler;
    return previous;
}

}  // namespace qv

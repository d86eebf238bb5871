// Installing the plug-in libraries an image carries: each "QVPl" resource is written to the
// plug-in folder (or kept there when a running instance holds it), serialised between the
// processes of this runtime by the named mutex "QUAVER MUTEX".
#pragma once

#include <span>
#include <string>
#include <vector>

#include "runtime/resources/resource_manager.h"

namespace qv {

// Loads the installed libraries and builds their classes; runs while the mutex is held,
// before a failed installation ends the process.
using InstalledLibraryLoader = void (*)(std::span<const std::wstring> libraries);

// Installs the libraries of the process's resource index into plugin_library_folder() and
// returns the full paths of those written or kept, in installation order (the reverse of the
// index order). A library that can be neither kept nor written stops the installation: the
// loader still gets the ones before it, then the permission message is shown and the process
// ends with exit code 0 (see set_install_failure_handler).
std::vector<std::wstring> InstallEmbeddedPlugins(InstalledLibraryLoader loader = nullptr);

// The same over any resource index and folder (tests use a temporary folder).
std::vector<std::wstring> install_embedded_plugins(const WindowsResourceManager& resources, const std::wstring& folder,
                                                   InstalledLibraryLoader loader = nullptr);

// Where plug-in libraries go: the user's application-data folder, which is where this
// platform keeps per-user preferences; the temporary folder when that one is unknown or
// missing (a roaming profile that is not mounted), as the libraries only need to outlive
// the start-up that writes them. No trailing separator.
std::wstring plugin_library_folder();

// The text shown when a library cannot be installed.
inline constexpr const char* kPluginInstallFailureText =
    "The application cannot continue because a needed file cannot be installed. You don't have appropriate "
    "permission to install the file.";

// Test seam for the stop: while a handler is installed it gets the message instead of the box,
// and the installer releases the mutex and returns instead of ending the process. Null
// restores the stop; returns the previous handler.
using InstallFailureHandler = void (*)(const char* text);
InstallFailureHandler set_install_failure_handler(InstallFailureHandler handler);

}  // namespace qv

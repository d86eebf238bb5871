// Loading installed plug-in libraries: each by its full path, its QuavPluginMain called with
// the runtime's resolver; then the classes of the newly loaded ones are built.
#pragma once

#include <span>
#include <string>

namespace qv {

// False when the library cannot be loaded or lacks QuavPluginMain: it is skipped without a
// message (a library without the entry stays loaded).
bool load_plugin_library(const std::wstring& path);

// Loads each library in order, then builds the plug-in classes. The installer's loader.
void load_installed_plugins(std::span<const std::wstring> libraries);

}  // namespace qv

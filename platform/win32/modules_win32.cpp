#include "platform/modules.h"
#include "platform/win32/windows_api.h"

namespace platform {

// Library and procedure names in images are 8-bit names, as the ANSI calls take them.
ModuleHandle load_module(const std::string& file_name)
{
    return reinterpret_cast<ModuleHandle>(LoadLibraryA(file_name.c_str()));
}

void* find_procedure(ModuleHandle module, const std::string& name)
{
    if (!module)
        return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name.c_str()));
}

}  // namespace platform

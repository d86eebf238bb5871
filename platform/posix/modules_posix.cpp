#include "platform/modules.h"

#include <dlfcn.h>

namespace platform {

ModuleHandle load_module(const std::string& file_name) { return dlopen(file_name.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* find_procedure(ModuleHandle module, const std::string& name)
{
    return module ? dlsym(module, name.c_str()) : nullptr;
}

}  // namespace platform

// Temporary, removed when FolderItem lands: lets runtime.exe link meanwhile.
#include "framework/application/folder_item.h"
#include "runtime/definitions/class_registry.h"
namespace qv {
static StringRef g_path;
RuntimeObject* new_folder_item(const StringRef&)
{
    return RuntimeNewObject(RuntimeLookupClass(StringRef::FromCString("RuntimeException").get()));
}
void set_folder_item_path(RuntimeObject*, const StringRef& p) { g_path = p; }
}  // namespace qv
extern "C" RuntimeString* fileAbsolutePathGetter(RuntimeObject*, int32_t) { return qv::StringRef(qv::g_path).leak(); }

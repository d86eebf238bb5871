// Temporary, removed when the menus and FolderItem land: lets runtime.exe link meanwhile.
#include "framework/application/folder_item.h"
#include "framework/menus/menu_dispatch.h"
#include "runtime/definitions/class_registry.h"
namespace qv {
void run_menu_enabling_cycle(bool) { }
bool dispatch_menu_command(u32) { return false; }
bool act_on_menu_shortcut(u32, bool) { return false; }
void* menu_native_handle(RuntimeObject*) { return nullptr; }
bool call_menu_handler(RuntimeObject*, i32) { return false; }
void register_menu_classes() { }

static StringRef g_path;
RuntimeObject* new_folder_item(const StringRef&)
{
    return RuntimeNewObject(RuntimeLookupClass(StringRef::FromCString("RuntimeException").get()));
}
void set_folder_item_path(RuntimeObject*, const StringRef& p) { g_path = p; }
}  // namespace qv
extern "C" RuntimeString* fileAbsolutePathGetter(RuntimeObject*, int32_t) { return qv::StringRef(qv::g_path).leak(); }
extern "C" RuntimeString* fileAbsolutePathGetter(RuntimeObject*, int32_t);
namespace qv {
static const ProvidedRoutine kR[] = {{"fileAbsolutePathGetter", (void*)&fileAbsolutePathGetter}};
std::span<const ProvidedRoutine> menu_routines() { return kR; }
}  // namespace qv

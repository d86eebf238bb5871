// Implicit windows: the image refers to a window by its class name, and the first reference
// creates it. The registry files each class name asked for, with its window once one exists
// (one count held), until that window closes.
#include "runtime/collections/string_map.h"
#include "runtime/objects/object_ref.h"
#include "ui/windows/window_layer.h"

namespace qv::ui {
namespace {

// The registry's windows are counted: dropping one gives its count back.
void release_window(RuntimeObject*& window) { ObjectRef::adopt(window); }

StringMap<RuntimeObject*>* s_registry = nullptr;

StringRef class_name_of(RuntimeObject* window)
{
    return window && window->classRecord ? StringRef::share(window->classRecord->name) : StringRef();
}

}  // namespace

void file_implicit_window(RuntimeObject* window)
{
    const StringRef name = class_name_of(window);
    RuntimeObject* filed = nullptr;
    if (!s_registry || name.is_nil() || !s_registry->Find(name, &filed) || filed)
        return;
    s_registry->Insert(name, ObjectRef::share(window).leak());
}

void forget_implicit_window(RuntimeObject* window)
{
    const StringRef name = class_name_of(window);
    RuntimeObject* filed = nullptr;
    if (s_registry && !name.is_nil() && s_registry->Find(name, &filed) && filed == window)
        s_registry->Remove(name);
}

void reset_implicit_windows() { delete std::exchange(s_registry, nullptr); }

}  // namespace qv::ui

using namespace qv;
using namespace qv::ui;

extern "C" RuntimeObject* RuntimeGetImplicitWindow(RuntimeString* name)
{
    if (!s_registry)
        s_registry = new StringMap<RuntimeObject*>(256, {&release_window});
    const StringRef key = StringRef::share(name);
    RuntimeObject* window = nullptr;
    if (s_registry->Find(key, &window))
        return ObjectRef::share(window).leak();
    s_registry->Insert(key, nullptr);
    return nullptr;
}

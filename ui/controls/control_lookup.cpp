// Finding a window's controls by name and array index, as compiled window code does for each
// control it names.
#include "runtime/objects/object_ref.h"
#include "runtime/strings/string_ref.h"
#include "ui/controls/control_routines.h"

extern "C" {

RuntimeObject* RuntimeControlFetch(RuntimeObject* window, RuntimeString* name)
{
    qv::ui::ControlRegistry* registry = qv::ui::controls_of_window(window);
    return registry ? registry->Find(qv::StringRef::share(name)) : nullptr;
}

RuntimeObject* RuntimeControlReference(RuntimeObject* window, RuntimeString* name)
{
    return qv::ObjectRef::share(RuntimeControlFetch(window, name)).leak();
}

RuntimeObject* RuntimeControlArrayItemReference(RuntimeObject* window, RuntimeString* name, int32_t index)
{
    qv::ui::ControlRegistry* registry = qv::ui::controls_of_window(window);
    if (!registry || index < 0)
        return nullptr;
    return qv::ObjectRef::share(registry->FindMember(qv::StringRef::share(name), index)).leak();
}

}  // extern "C"

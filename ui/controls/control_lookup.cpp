// Finding a window's controls by name and array index, as compiled window code does for each
// control it names.
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
    RuntimeObject* control = RuntimeControlFetch(window, name);
    RuntimeLockObject(control);
    return control;
}

RuntimeObject* RuntimeControlArrayItemReference(RuntimeObject* window, RuntimeString* name, int32_t index)
{
    qv::ui::ControlRegistry* registry = qv::ui::controls_of_window(window);
    if (!registry || index < 0)
        return nullptr;
    RuntimeObject* control = registry->FindMember(qv::StringRef::share(name), index);
    RuntimeLockObject(control);
    return control;
}

}  // extern "C"

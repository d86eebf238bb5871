// Calling an interface method by name: the object's class lists, per interface it implements,
// the routines with their signatures; the first whose name matches (ignoring case) is called.
// An object without the interface or without such a method has no routine, and the call is
// skipped.
#pragma once

#include <string_view>

#include "sdk/quaver.h"
#include "ui/binding/builtin_interfaces.h"

namespace qv::ui {

// The object's class-table entry for the interface, or null (also for nil).
const InterfaceEntry* interface_entry(RuntimeObject* object, BuiltInInterface which);
inline bool implements(RuntimeObject* object, BuiltInInterface which)
{
    return interface_entry(object, which) != nullptr;
}

// The routine serving `method` in the object's implementation of the interface, or null.
void* find_interface_method(RuntimeObject* object, BuiltInInterface which, std::string_view method);

// Calls the method with the object first and then `args` (32-bit values); false when the
// object has no such routine. The routine may be image code, which may raise: the raise
// returns normally through the caller, whose handles let go as usual, and lands at its guard.
template <typename... Args>
bool call_interface_method(RuntimeObject* object, BuiltInInterface which, std::string_view method, Args... args)
{
    void* routine = find_interface_method(object, which, method);
    if (!routine)
        return false;
    reinterpret_cast<void (*)(RuntimeObject*, Args...)>(routine)(object, args...);
    return true;
}

// A Boolean method's result (its low byte), or `otherwise` when there is no routine.
bool call_boolean_method(RuntimeObject* object, BuiltInInterface which, std::string_view method, bool otherwise);

// A String method's result (a new count), or nil when there is no routine.
RuntimeString* call_string_method(RuntimeObject* object, BuiltInInterface which, std::string_view method);

}  // namespace qv::ui

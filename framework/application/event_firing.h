// Firing built-in events: the handler of an event is the entry at the event's index in the
// object's class event table, which the image's subclass filled in (inherited handlers
// included, so superclasses are never walked here). Handlers are cdecl routines that take the
// object first, then the event's parameters; a Boolean result is its low byte.
//
// Handlers are image code and may raise. A raise returns normally: the frames between it
// and the nearest landing record run on to their ends, and only the return into the frame
// that holds the record is redirected. Code that fires events therefore keeps working after
// a handler raised; fire through run_guarded where the exception must stop.
#pragma once

#include <type_traits>

#include "core/types.h"
#include "runtime/exceptions/run_guarded.h"
#include "sdk/quaver.h"

namespace qv {

// The handler of event `index` of the object's class, or null when the object is nil, its
// class has no event table, the index is outside it, or the entry is empty.
void* FindEventHandler(RuntimeObject* object, i32 index);

inline bool event_implemented(RuntimeObject* object, i32 index) { return FindEventHandler(object, index) != nullptr; }

// Calls the handler with the object and `args` (32-bit values); false when not implemented.
template <typename... Args>
bool fire_event(RuntimeObject* object, i32 index, Args... args)
{
    void* handler = FindEventHandler(object, index);
    if (!handler)
        return false;
    reinterpret_cast<void (*)(RuntimeObject*, Args...)>(handler)(object, args...);
    return true;
}

// A Boolean event: its result, or `otherwise` when not implemented.
template <typename... Args>
bool fire_boolean_event(RuntimeObject* object, i32 index, bool otherwise, Args... args)
{
    void* handler = FindEventHandler(object, index);
    if (!handler)
        return otherwise;
    const u32 result = reinterpret_cast<u32 (*)(RuntimeObject*, Args...)>(handler)(object, args...);
    return (result & 0xFF) != 0;
}

// RunGuarded over a callable: an escaping runtime exception goes to the unhandled-exception
// path and the result is false. The callable is called through a plain trampoline; keep its
// captures trivially destructible (see above).
template <typename F>
bool run_guarded(F&& f)
{
    using Callable = std::remove_reference_t<F>;
    return RunGuarded([](void* argument) { (*static_cast<Callable*>(argument))(); }, &f);
}

// The application as a whole became active or inactive (the MDI frame's WM_ACTIVATEAPP, a
// runtime window's activation): Activate or Deactivate, never the same twice in a row.
void application_activation(bool active);

}  // namespace qv

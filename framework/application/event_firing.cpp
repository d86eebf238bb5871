#include "framework/application/event_firing.h"

#include "framework/application/application_object.h"

namespace qv {

void* FindEventHandler(RuntimeObject* object, i32 index)
{
    if (!object || !object->classRecord)
        return nullptr;
    const ClassRecord* c = object->classRecord;
    if (!c->eventTable || c->eventCount <= 0 || index < 0 || index >= c->eventCount)
        return nullptr;
    return c->eventTable[index].routine;
}

void application_activation(bool active)
{
    if (active == gAppActive)
        return;
    gAppActive = active;
    run_guarded([active] { fire_event(gApplicationObject, active ? kApplicationActivate : kApplicationDeactivate); });
}

}  // namespace qv

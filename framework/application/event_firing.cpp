#include "framework/application/event_firing.h"

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

}  // namespace qv

#include "runtime/objects/known_classes.h"

#include <unordered_set>

#include "runtime/memory/runtime_locks.h"

namespace qv {
namespace {

std::unordered_set<const ClassRecord*>& known()
{
    // Never destroyed: a debugger may still ask while the process exits.
    static auto* s_known = new std::unordered_set<const ClassRecord*>;
    return *s_known;
}

}  // namespace

void remember_class(const ClassRecord* c)
{
    if (!c)
        return;
    // Image threads may make classes too.
    LockGuard guard(allocator_lock());
    known().insert(c);
}

bool is_known_class(const ClassRecord* c)
{
    if (!c)
        return false;
    LockGuard guard(allocator_lock());
    return known().count(c) != 0;
}

}  // namespace qv

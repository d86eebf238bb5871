#include "runtime/definitions/parameterless_setters.h"

#include <mutex>
#include <unordered_set>

namespace qv {
namespace {

// Classes are built at start-up and on first use, possibly on another thread than the one
// that reads property tables.
std::mutex s_lock;
std::unordered_set<const void*>& setters()
{
    static std::unordered_set<const void*> s_setters;
    return s_setters;
}

}  // namespace

void add_parameterless_setter(const void* setter)
{
    if (!setter)
        return;
    std::lock_guard guard(s_lock);
    setters().insert(setter);
}

bool is_parameterless_setter(const void* setter)
{
    if (!setter)
        return false;
    std::lock_guard guard(s_lock);
    return setters().count(setter) != 0;
}

}  // namespace qv

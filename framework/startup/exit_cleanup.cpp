#include "framework/startup/exit_cleanup.h"

#include <algorithm>
#include <vector>

namespace qv {
namespace {

std::vector<RuntimeObject*> s_objects;

}  // namespace

void add_exit_cleanup(RuntimeObject* object)
{
    if (object)
        s_objects.push_back(object);
}

void remove_exit_cleanup(RuntimeObject* object)
{
    s_objects.erase(std::remove(s_objects.begin(), s_objects.end(), object), s_objects.end());
}

void run_exit_cleanup()
{
    // A released object removes itself from the list as it goes.
    while (!s_objects.empty()) {
        RuntimeObject* object = s_objects.back();
        s_objects.pop_back();
        RuntimeUnlockObject(object);
    }
}

}  // namespace qv

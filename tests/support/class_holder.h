// Classes made by tests: the runtime never frees classes, so tests give theirs back and the
// allocator's use balances.
#pragma once

#include <vector>

#include "runtime/memory/pool_allocator.h"
#include "runtime/strings/string_ref.h"
#include "sdk/quaver.h"

namespace qv {

struct ClassHolder {
    std::vector<ClassRecord*> classes;
    ClassRecord* make(ClassRecord* base, const char* name, i32 m = 0, i32 i = 0, i32 e = 0, i32 s = 0, i32 p = 0,
                      i32 size = 32)
    {
        ClassRecord* c = RuntimeNewClass(base, m, i, e, s, p);
        c->name = StringRef::FromCString(name).leak();
        c->instanceSize = size;
        classes.push_back(c);
        return c;
    }
    ~ClassHolder()
    {
        for (ClassRecord* c : classes) {
            RuntimeUnlockString(c->name);
            GuardedDelete(c);
        }
    }
};

}  // namespace qv

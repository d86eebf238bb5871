// ObjectRef: a handle that owns one count on a runtime object, as StringRef does on a string.
// Copying takes a count, destroying or assigning over gives one back (which runs the
// finalizers when it was the last), so counts held by runtime code are never paired by hand.
#pragma once

#include <utility>

#include "sdk/quaver.h"

namespace qv {

class ObjectRef {
public:
    ObjectRef() = default;
    ObjectRef(const ObjectRef& other) : m_object(other.m_object) { RuntimeLockObject(m_object); }
    ObjectRef(ObjectRef&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) { }
    ObjectRef& operator=(ObjectRef other) noexcept
    {
        std::swap(m_object, other.m_object);
        return *this;
    }
    ~ObjectRef() { RuntimeUnlockObject(m_object); }

    // Takes over a count the caller owns.
    static ObjectRef adopt(RuntimeObject* object)
    {
        ObjectRef ref;
        ref.m_object = object;
        return ref;
    }
    // Adds a count of its own (for borrowed objects).
    static ObjectRef share(RuntimeObject* object)
    {
        RuntimeLockObject(object);
        return adopt(object);
    }
    // Hands the count on to the caller (a routine returning a counted object), leaving nil.
    [[nodiscard]] RuntimeObject* leak() { return std::exchange(m_object, nullptr); }
    RuntimeObject* get() const { return m_object; }
    bool is_nil() const { return m_object == nullptr; }

private:
    RuntimeObject* m_object = nullptr;
};

static_assert(sizeof(ObjectRef) == sizeof(void*));

}  // namespace qv

// CountedHandle: one count on a resource that a cache shares out by count (a font), given back
// through `Release` when the handle is destroyed or assigned over, so that users never pair the
// cache's acquire and release by hand. Move-only: another user asks the cache for a count of
// its own.
#pragma once

#include <utility>

namespace qv::ui {

template <typename T, void (*Release)(T)>
class CountedHandle {
public:
    CountedHandle() = default;
    // Takes over a count the cache handed out; null holds nothing.
    explicit CountedHandle(T resource) : m_resource(resource) { }
    CountedHandle(CountedHandle&& other) noexcept : m_resource(std::exchange(other.m_resource, T{})) { }
    // The new count is stored before the old one is given back.
    CountedHandle& operator=(CountedHandle other) noexcept
    {
        std::swap(m_resource, other.m_resource);
        return *this;
    }
    ~CountedHandle()
    {
        if (m_resource)
            Release(m_resource);
    }

    T get() const { return m_resource; }
    explicit operator bool() const { return m_resource != T{}; }

private:
    T m_resource{};
};

}  // namespace qv::ui

// Arrays: creation, counting, bounds, element addresses, and the growth and shrinking of
// one-dimensional arrays by insertion and removal.
//
// Who owns a count: a string or object element holds one count from the moment the compiled
// code stores it in a slot. The routines here move elements between buffers without touching
// their counts, and release a count only when an element leaves the array for good (removal,
// or the array's last release).
#include <cstdarg>
#include <cstring>
#include <utility>

#include "runtime/arrays/runtime_array.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/exceptions/raise_builtin.h"
#include "runtime/memory/pool_allocator.h"
#include "runtime/objects/exception_foundation.h"

namespace qv {
namespace {

constexpr const char* kSource = "RuntimeArray";
constexpr i64 kLargestBuffer = 0x7FFFFFFF;
constexpr i32 kMostDimensions = 0x10000;  // keeps the record's size far from overflowing

ArrayFreedHook s_array_freed_hook = nullptr;

u8* bytes_of(RuntimeArray* array) { return static_cast<u8*>(array->data); }

void release_elements(RuntimeArray* array)
{
    if (!holds_counts(array) || !array->data)
        return;
    const i64 n = element_count(array);
    auto** slots = static_cast<void**>(array->data);
    for (i64 i = 0; i < n; ++i) {
        if (array->elementType == QV_ARRAY_STRING)
            RuntimeUnlockString(static_cast<RuntimeString*>(slots[i]));
        else
            RuntimeUnlockObject(static_cast<RuntimeObject*>(slots[i]));
        slots[i] = nullptr;
    }
}

void release_element(const RuntimeArray* array, void* element)
{
    if (array->elementType == QV_ARRAY_STRING)
        RuntimeUnlockString(static_cast<RuntimeString*>(element));
    else if (array->elementType == QV_ARRAY_OBJECT)
        RuntimeUnlockObject(static_cast<RuntimeObject*>(element));
}

// Makes room for one more element at `index` in a new, larger buffer. False (after raising)
// when the buffer cannot be had; the array is then unchanged.
bool grow_for_insert(RuntimeArray* array, i32 index, i64 minimum)
{
    const i32 size = element_size(array);
    i64 length = i64{array->bufferLength} + i64{size} * array->growthIncrement;
    if (length < minimum) {
        assertion_failed(kSource, 310, "array->bufferLength >= minimumBufferSize");
        length = minimum;
    }
    void* buffer = length <= kLargestBuffer ? PoolAlloc(static_cast<i32>(length), MayFail::Yes) : nullptr;
    if (!buffer) {
        raise_builtin(ExceptionClass::OutOfMemoryException);
        return false;
    }
    const size_t before = static_cast<size_t>(index) * static_cast<size_t>(size);
    const size_t after = static_cast<size_t>(array->upperBounds[0] + 1 - index) * static_cast<size_t>(size);
    auto* to = static_cast<u8*>(buffer);
    if (before)
        std::memcpy(to, bytes_of(array), before);
    if (after)
        std::memcpy(to + before + size, bytes_of(array) + before, after);
    PoolFree(array->data, array->bufferLength);
    array->data = buffer;
    array->bufferLength = static_cast<i32>(length);
    if (array->growthIncrement < kGrowthIncrementLimit)
        array->growthIncrement *= 2;
    return true;
}

}  // namespace

i64 element_count(const RuntimeArray* array)
{
    i64 n = 1;
    for (i32 k = 0; k < array->dimensions; ++k) {
        const i64 extent = i64{array->upperBounds[k]} + 1;
        if (extent <= 0)
            return 0;
        n *= extent;
        if (n > kLargestBuffer)
            return -1;
    }
    return n;
}

ArrayFreedHook set_array_freed_hook(ArrayFreedHook hook)
{
    ArrayFreedHook previous = s_array_freed_hook;
    s_array_freed_hook = hook;
    return previous;
}

bool check_one_dimension(const RuntimeArray* array)
{
    if (array->dimensions == 1)
        return true;
    assertion_failed(kSource, 100, "1 == array->dimensions");
    return false;
}

}  // namespace qv

using namespace qv;

extern "C" {

RuntimeArray* CreateArray(int32_t dimensions, int32_t elementType, ...)
{
    if (dimensions < 1 || dimensions > kMostDimensions) {
        assertion_failed(kSource, 40, "dimensions > 0 && dimensions <= kMostDimensions");
        return nullptr;
    }
    auto* array = static_cast<RuntimeArray*>(GuardedNew(static_cast<i32>(sizeof(RuntimeArray)) + 4 * dimensions));
    std::memset(array, 0, sizeof(RuntimeArray));
    array->elementType = elementType;
    array->dimensions = dimensions;
    array->growthIncrement = kInitialGrowthIncrement;
    va_list bounds;
    va_start(bounds, elementType);
    for (i32 k = 0; k < dimensions; ++k)
        array->upperBounds[k] = va_arg(bounds, int32_t);
    va_end(bounds);

    const i64 count = element_count(array);
    const i64 bytes = count < 0 ? kLargestBuffer + 1 : count * element_size(array);
    if (bytes > 0) {
        void* data = bytes <= kLargestBuffer ? PoolAlloc(static_cast<i32>(bytes), MayFail::Yes) : nullptr;
        if (!data) {
            GuardedDelete(array);
            raise_builtin(ExceptionClass::OutOfMemoryException);
            return nullptr;
        }
        std::memset(data, 0, static_cast<size_t>(bytes));
        array->data = data;
        array->bufferLength = static_cast<i32>(bytes);
    }
    array->refCount = 1;
    return array;
}

void RuntimeLockArray(RuntimeArray* array)
{
    if (array)
        ++array->refCount;
}

void RuntimeUnlockArray(RuntimeArray* array)
{
    if (!array || array->refCount <= 0)
        return;
    if (--array->refCount > 0)
        return;
    release_elements(array);
    PoolFree(array->data, array->bufferLength);
    array->data = nullptr;
    // The hook sees the record before it goes, so that it may still read the address safely.
    if (s_array_freed_hook)
        s_array_freed_hook(array);
    GuardedDelete(array);
}

void RuntimeLockUnlockArrays(RuntimeArray* newValue, RuntimeArray* oldValue)
{
    if (newValue == oldValue)
        return;
    RuntimeLockArray(newValue);
    RuntimeUnlockArray(oldValue);
}

int32_t RuntimeUBound(RuntimeArray* array)
{
    if (!array) {
        RaiseNilObject();
        return 0;
    }
    return array->upperBounds[0];
}

int32_t RuntimeUBound2Param(RuntimeArray* array, int32_t dimension)
{
    if (!array) {
        RaiseNilObject();
        return -1;
    }
    if (dimension == -1)
        return array->dimensions;
    if (dimension < 1 || dimension > array->dimensions) {
        RaiseOutOfBounds();
        return -1;
    }
    return array->upperBounds[dimension - 1];
}

void* FindArrayElement(RuntimeArray* array, ...)
{
    if (!array) {
        RaiseOutOfBounds();
        return nullptr;
    }
    va_list indexes;
    va_start(indexes, array);
    u32 offset = 0;
    u32 stride = static_cast<u32>(element_size(array));
    bool inside = true;
    for (i32 k = 0; k < array->dimensions && inside; ++k) {
        const i32 index = va_arg(indexes, int32_t);
        const i32 bound = array->upperBounds[k];
        inside = index >= 0 && index <= bound;
        // Within the bounds every partial sum stays below the buffer's length.
        offset += static_cast<u32>(index) * stride;
        stride *= static_cast<u32>(bound) + 1;
    }
    va_end(indexes);
    if (!inside) {
        RaiseOutOfBounds();
        return nullptr;
    }
    return bytes_of(array) + offset;
}

void* InsertElement(RuntimeArray* array, int32_t index)
{
    if (!array) {
        RaiseNilObject();
        return nullptr;
    }
    if (!check_one_dimension(array))
        return nullptr;
    const i32 bound = array->upperBounds[0];
    if (index < 0 || i64{index} > i64{bound} + 1) {
        RaiseOutOfBounds();
        return nullptr;
    }
    const i32 size = element_size(array);
    const i64 minimum = i64{size} * (i64{bound} + 2);
    if (array->bufferLength < minimum) {
        if (!grow_for_insert(array, index, minimum))
            return nullptr;
    } else {
        const size_t at = static_cast<size_t>(index) * static_cast<size_t>(size);
        const size_t moved = static_cast<size_t>(bound + 1 - index) * static_cast<size_t>(size);
        if (moved)
            std::memmove(bytes_of(array) + at + size, bytes_of(array) + at, moved);
    }
    array->upperBounds[0] = bound + 1;
    u8* slot = bytes_of(array) + static_cast<size_t>(index) * static_cast<size_t>(size);
    std::memset(slot, 0, static_cast<size_t>(size));
    return slot;
}

void RemoveElement(RuntimeArray* array, int32_t index)
{
    if (!array) {
        RaiseNilObject();
        return;
    }
    if (!check_one_dimension(array))
        return;
    const i32 bound = array->upperBounds[0];
    if (index < 0 || index > bound) {
        RaiseOutOfBounds();
        return;
    }
    const i32 size = element_size(array);
    const size_t at = static_cast<size_t>(index) * static_cast<size_t>(size);
    const size_t after = static_cast<size_t>(bound - index) * static_cast<size_t>(size);
    void* removed = holds_counts(array) ? static_cast<void**>(array->data)[index] : nullptr;

    const i32 length = size * bound;  // the new size
    void* buffer = length > 0 ? PoolAlloc(length, MayFail::Yes) : nullptr;
    if (length > 0 && !buffer) {
        // Shrinking is only an economy: without a new buffer the elements close up in place.
        std::memmove(bytes_of(array) + at, bytes_of(array) + at + size, after);
    } else {
        auto* to = static_cast<u8*>(buffer);
        if (at)
            std::memcpy(to, bytes_of(array), at);
        if (after)
            std::memcpy(to + at, bytes_of(array) + at + size, after);
        PoolFree(array->data, array->bufferLength);
        array->data = buffer;
        array->bufferLength = length;
        array->growthIncrement = kInitialGrowthIncrement;
    }
    array->upperBounds[0] = bound - 1;
    // Released last: a finalizer that runs now finds the array already without the element.
    release_element(array, removed);
}

void SwapArrays(RuntimeArray* a, RuntimeArray* b)
{
    if (!a || !b) {
        RaiseNilObject();
        return;
    }
    if (a->dimensions != b->dimensions) {
        assertion_failed(kSource, 420, "a->dimensions == b->dimensions");
        return;  // the bounds would not fit in the other record
    }
    if (a->elementType != b->elementType) {
        assertion_failed(kSource, 421, "a->elementType == b->elementType");
        return;  // elements would be read with the wrong size or counted wrongly
    }
    std::swap(a->data, b->data);
    std::swap(a->bufferLength, b->bufferLength);
    for (i32 k = 0; k < a->dimensions; ++k)
        std::swap(a->upperBounds[k], b->upperBounds[k]);
    a->growthIncrement = kInitialGrowthIncrement;
    b->growthIncrement = kInitialGrowthIncrement;
}

}  // extern "C"

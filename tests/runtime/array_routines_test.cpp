// Arrays: layout at creation, element addresses and bounds, growth and shrinking through
// insertion and removal (checked against a model), counts held by string and object elements,
// swapping, and the exceptions and reports for misuse.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "runtime/arrays/runtime_array.h"
#include "runtime/memory/pool_allocator.h"
#include "tests/support/assertion_capture.h"
#include "tests/support/string_helpers.h"
#include "tests/support/value_fixture.h"

namespace {

using namespace qv;
using test::Held;
using test::plain_object;

// Owns one count on an array.
class ArrayRef {
public:
    explicit ArrayRef(RuntimeArray* array) : m_array(array) { }
    ArrayRef(const ArrayRef&) = delete;
    ArrayRef& operator=(const ArrayRef&) = delete;
    ~ArrayRef() { RuntimeUnlockArray(m_array); }
    RuntimeArray* operator->() const { return m_array; }
    RuntimeArray* get() const { return m_array; }

private:
    RuntimeArray* m_array;
};

i32* int_at(RuntimeArray* array, i32 index) { return static_cast<i32*>(FindArrayElement(array, index)); }

std::vector<i32> ints_of(RuntimeArray* array)
{
    std::vector<i32> values;
    for (i32 i = 0; i <= array->upperBounds[0]; ++i)
        values.push_back(static_cast<i32*>(array->data)[i]);
    return values;
}

class Arrays : public test::ValueTest { };

TEST_F(Arrays, CreationSizesTheZeroFilledDataFromTheBounds)
{
    struct Case {
        const char* name;
        i32 type;
        std::vector<i32> bounds;
        i32 bytes;  // 0: no data
    };
    const Case cases[] = {
        {"ten integers", QV_ARRAY_VALUE32, {9}, 40},
        {"three doubles", QV_ARRAY_DOUBLE, {2}, 24},
        {"empty string array", QV_ARRAY_STRING, {-1}, 0},
        {"2 by 3 objects", QV_ARRAY_OBJECT, {1, 2}, 24},
        {"2 by 3 doubles", QV_ARRAY_DOUBLE, {1, 2}, 48},
        {"an empty dimension empties all", QV_ARRAY_VALUE32, {4, -1, 4}, 0},
        {"unknown types are 4 bytes", 7, {0, 0}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RuntimeArray* made = nullptr;
        switch (c.bounds.size()) {
        case 1: made = CreateArray(1, c.type, c.bounds[0]); break;
        case 2: made = CreateArray(2, c.type, c.bounds[0], c.bounds[1]); break;
        case 3: made = CreateArray(3, c.type, c.bounds[0], c.bounds[1], c.bounds[2]); break;
        }
        ArrayRef array(made);
        ASSERT_NE(array.get(), nullptr);
        EXPECT_EQ(array->refCount, 1);
        EXPECT_EQ(array->elementType, c.type);
        EXPECT_EQ(array->dimensions, static_cast<i32>(c.bounds.size()));
        EXPECT_EQ(array->growthIncrement, 16);
        EXPECT_EQ(array->bufferLength, c.bytes);
        EXPECT_EQ(array->data == nullptr, c.bytes == 0);
        for (size_t k = 0; k < c.bounds.size(); ++k)
            EXPECT_EQ(array->upperBounds[k], c.bounds[k]);
        const std::vector<u8> zeros(static_cast<size_t>(c.bytes), 0);
        if (c.bytes) {
            EXPECT_EQ(std::memcmp(array->data, zeros.data(), zeros.size()), 0);
        }
    }
    EXPECT_TRUE(nothing_raised());
}

TEST_F(Arrays, TooLargeOrShapelessArraysAreRefused)
{
    EXPECT_EQ(CreateArray(2, QV_ARRAY_DOUBLE, 0x7FFFFFFF, 0x7FFFFFFF), nullptr);
    EXPECT_TRUE(raised_once(ExceptionClass::OutOfMemoryException));
    EXPECT_EQ(CreateArray(1, QV_ARRAY_VALUE32, 0x1FFFFFFF), nullptr) << "2 GB of data";
    EXPECT_TRUE(raised_once(ExceptionClass::OutOfMemoryException));

    test::AssertionCapture capture;
    EXPECT_EQ(CreateArray(0, QV_ARRAY_VALUE32), nullptr);
    EXPECT_EQ(capture.count(), 1u);
}

TEST_F(Arrays, ElementsLieWithTheFirstIndexVaryingFastest)
{
    struct Case {
        i32 i, j;
        i32 offset;  // bytes, or -1 for out of bounds
    };
    const Case cases[] = {
        {0, 0, 0},  {1, 0, 4},  {0, 1, 8},   {1, 2, 20},  // the last element of a 2-by-3 array
        {2, 0, -1}, {0, 3, -1}, {-1, 0, -1}, {0, -1, -1},
    };
    ArrayRef array(CreateArray(2, QV_ARRAY_VALUE32, 1, 2));
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "(" << c.i << ", " << c.j << ")");
        auto* element = static_cast<u8*>(FindArrayElement(array.get(), c.i, c.j));
        if (c.offset < 0) {
            EXPECT_EQ(element, nullptr);
            EXPECT_TRUE(raised_once(ExceptionClass::OutOfBoundsException));
        } else {
            EXPECT_EQ(element - static_cast<u8*>(array->data), c.offset);
            EXPECT_TRUE(nothing_raised());
        }
    }
    ArrayRef doubles(CreateArray(3, QV_ARRAY_DOUBLE, 1, 1, 1));
    EXPECT_EQ(static_cast<u8*>(FindArrayElement(doubles.get(), 1, 1, 1)) - static_cast<u8*>(doubles->data), 56);

    EXPECT_EQ(FindArrayElement(nullptr, 0), nullptr);
    EXPECT_TRUE(raised_once(ExceptionClass::OutOfBoundsException));
}

TEST_F(Arrays, UpperBoundsByDimension)
{
    ArrayRef array(CreateArray(2, QV_ARRAY_VALUE32, 4, 7));
    struct Case {
        i32 dimension;
        i32 result;
        bool raises;
    };
    const Case cases[] = {{-1, 2, false}, {1, 4, false}, {2, 7, false}, {0, -1, true}, {3, -1, true}, {-2, -1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dimension);
        EXPECT_EQ(RuntimeUBound2Param(array.get(), c.dimension), c.result);
        if (c.raises)
            EXPECT_TRUE(raised_once(ExceptionClass::OutOfBoundsException));
        else
            EXPECT_TRUE(nothing_raised());
    }
    EXPECT_EQ(RuntimeUBound(array.get()), 4);
    EXPECT_EQ(RuntimeUBound(nullptr), 0);
    EXPECT_TRUE(raised_once(ExceptionClass::NilObjectException));
    EXPECT_EQ(RuntimeUBound2Param(nullptr, 1), -1);
    EXPECT_TRUE(raised_once(ExceptionClass::NilObjectException));
}

TEST_F(Arrays, InsertingGrowsByTheIncrementWhichDoubles)
{
    ArrayRef array(CreateArray(1, QV_ARRAY_VALUE32, -1));
    std::vector<i32> lengths;
    for (i32 i = 0; i < 17; ++i) {
        auto* slot = static_cast<i32*>(InsertElement(array.get(), i));
        ASSERT_NE(slot, nullptr);
        EXPECT_EQ(*slot, 0);
        *slot = i * 10;
        if (lengths.empty() || lengths.back() != array->bufferLength)
            lengths.push_back(array->bufferLength);
    }
    EXPECT_EQ(lengths, (std::vector<i32>{64, 64 + 128})) << "16 elements, then 32 more";
    EXPECT_EQ(array->growthIncrement, 64);
    EXPECT_EQ(RuntimeUBound(array.get()), 16);
    EXPECT_EQ(*int_at(array.get(), 16), 160);

    ArrayRef strings(CreateArray(1, QV_ARRAY_STRING, -1));
    ASSERT_NE(InsertElement(strings.get(), 0), nullptr);
    EXPECT_EQ(strings->upperBounds[0], 0);
    EXPECT_NE(strings->data, nullptr);
}

TEST_F(Arrays, InsertAndRemoveKeepTheOrderOfAModel)
{
    // Inserts and removals at random places, some filling the buffer in place and some
    // moving it, each followed by a comparison with a vector doing the same.
    for (const i32 type : {QV_ARRAY_VALUE32, QV_ARRAY_DOUBLE}) {
        SCOPED_TRACE(type);
        ArrayRef array(CreateArray(1, type, 2));
        std::vector<i32> model(3, 0);
        std::mt19937 random(7);
        i32 next = 1;
        for (i32 step = 0; step < 600; ++step) {
            const bool insert = model.empty() || random() % 3 != 0 || step < 200;
            if (insert) {
                const i32 at = static_cast<i32>(random() % (model.size() + 1));
                void* slot = InsertElement(array.get(), at);
                ASSERT_NE(slot, nullptr);
                if (type == QV_ARRAY_DOUBLE)
                    *static_cast<double*>(slot) = next;
                else
                    *static_cast<i32*>(slot) = next;
                model.insert(model.begin() + at, next++);
            } else {
                const i32 at = static_cast<i32>(random() % model.size());
                RemoveElement(array.get(), at);
                model.erase(model.begin() + at);
                EXPECT_EQ(array->bufferLength, static_cast<i32>(model.size()) * (type == QV_ARRAY_DOUBLE ? 8 : 4));
                EXPECT_EQ(array->growthIncrement, 16);
            }
            ASSERT_EQ(array->upperBounds[0], static_cast<i32>(model.size()) - 1);
            std::vector<i32> values;
            for (i32 i = 0; i < static_cast<i32>(model.size()); ++i)
                values.push_back(type == QV_ARRAY_DOUBLE ? static_cast<i32>(static_cast<double*>(array->data)[i])
                                                         : static_cast<i32*>(array->data)[i]);
            ASSERT_EQ(values, model) << "after step " << step;
        }
    }
    EXPECT_TRUE(nothing_raised());
}

TEST_F(Arrays, InsertAndRemoveRefuseIndexesOutside)
{
    ArrayRef array(CreateArray(1, QV_ARRAY_VALUE32, 1));
    EXPECT_EQ(InsertElement(array.get(), 3), nullptr) << "bound + 2";
    EXPECT_TRUE(raised_once(ExceptionClass::OutOfBoundsException));
    EXPECT_EQ(InsertElement(array.get(), -1), nullptr);
    EXPECT_TRUE(raised_once(ExceptionClass::OutOfBoundsException));
    RemoveElement(array.get(), 2);
    EXPECT_TRUE(raised_once(ExceptionClass::OutOfBoundsException));
    RemoveElement(array.get(), -1);
    EXPECT_TRUE(raised_once(ExceptionClass::OutOfBoundsException));
    EXPECT_EQ(array->upperBounds[0], 1);

    EXPECT_EQ(InsertElement(nullptr, 0), nullptr);
    EXPECT_TRUE(raised_once(ExceptionClass::NilObjectException));
    RemoveElement(nullptr, 0);
    EXPECT_TRUE(raised_once(ExceptionClass::NilObjectException));

    ArrayRef grid(CreateArray(2, QV_ARRAY_VALUE32, 1, 1));
    test::AssertionCapture capture;
    EXPECT_EQ(InsertElement(grid.get(), 0), nullptr);
    RemoveElement(grid.get(), 0);
    EXPECT_EQ(capture.count(), 2u);
    EXPECT_NE(capture.reports()[0].find("1 == array->dimensions"), std::string::npos);
    EXPECT_EQ(grid->upperBounds[0], 1);
    EXPECT_EQ(grid->bufferLength, 16);
}

TEST_F(Arrays, RemovingTheLastElementLeavesNoData)
{
    ArrayRef array(CreateArray(1, QV_ARRAY_VALUE32, 0));
    RemoveElement(array.get(), 0);
    EXPECT_EQ(array->upperBounds[0], -1);
    EXPECT_EQ(array->data, nullptr);
    EXPECT_EQ(array->bufferLength, 0);
    ASSERT_NE(InsertElement(array.get(), 0), nullptr);
    EXPECT_EQ(array->upperBounds[0], 0);
}

TEST_F(Arrays, RemovingWithoutMemoryClosesUpInPlace)
{
    ArrayRef array(CreateArray(1, QV_ARRAY_VALUE32, 3));
    for (i32 i = 0; i < 4; ++i)
        *int_at(array.get(), i) = i + 1;
    pool_fail_after(0);
    RemoveElement(array.get(), 1);
    pool_fail_after(-1);
    EXPECT_EQ(ints_of(array.get()), (std::vector<i32>{1, 3, 4}));
    EXPECT_EQ(array->bufferLength, 16) << "the old buffer stays";
    EXPECT_TRUE(nothing_raised());
}

TEST_F(Arrays, StringAndObjectElementsHoldCountsUntilTheyLeave)
{
    StringRef text = test::ascii("kept");
    const i32 text_count = text.get()->refCount;
    Held object = plain_object();
    {
        ArrayRef strings(CreateArray(1, QV_ARRAY_STRING, 2));
        ArrayRef objects(CreateArray(2, QV_ARRAY_OBJECT, 1, 1));
        for (i32 i = 0; i < 3; ++i) {
            RuntimeLockString(text.get());
            *static_cast<RuntimeString**>(FindArrayElement(strings.get(), i)) = text.get();
        }
        RuntimeLockObject(object.get());
        *static_cast<RuntimeObject**>(FindArrayElement(objects.get(), 1, 1)) = object.get();
        EXPECT_EQ(text.get()->refCount, text_count + 3);
        EXPECT_EQ(object.get()->refCount, 2);

        RemoveElement(strings.get(), 1);
        EXPECT_EQ(text.get()->refCount, text_count + 2) << "removal releases the element";

        RuntimeLockArray(strings.get());
        RuntimeUnlockArray(strings.get());
        EXPECT_EQ(text.get()->refCount, text_count + 2) << "a release that leaves a count frees nothing";
        RuntimeLockUnlockArrays(strings.get(), strings.get());
        EXPECT_EQ(strings->refCount, 1);
    }
    EXPECT_EQ(text.get()->refCount, text_count) << "the last release lets go of every element";
    EXPECT_EQ(object.get()->refCount, 1);
}

RuntimeArray* s_freed = nullptr;
i32 s_freed_calls = 0;

TEST_F(Arrays, TheFreedHookSeesTheLastRelease)
{
    s_freed = nullptr;
    s_freed_calls = 0;
    ArrayFreedHook previous = set_array_freed_hook([](RuntimeArray* array) {
        s_freed = array;
        ++s_freed_calls;
    });
    RuntimeArray* a = CreateArray(1, QV_ARRAY_VALUE32, 3);
    RuntimeArray* b = CreateArray(1, QV_ARRAY_VALUE32, 3);
    RuntimeLockUnlockArrays(b, a);  // b gains a count, a goes
    EXPECT_EQ(s_freed_calls, 1);
    EXPECT_EQ(s_freed, a);
    EXPECT_EQ(b->refCount, 2);
    RuntimeUnlockArray(b);
    RuntimeUnlockArray(b);
    EXPECT_EQ(s_freed_calls, 2);
    EXPECT_EQ(s_freed, b);
    RuntimeUnlockArray(nullptr);
    RuntimeLockArray(nullptr);
    set_array_freed_hook(previous);
}

TEST_F(Arrays, SwapExchangesContentsAndResetsGrowth)
{
    ArrayRef a(CreateArray(1, QV_ARRAY_VALUE32, 1));
    ArrayRef b(CreateArray(1, QV_ARRAY_VALUE32, -1));
    *int_at(a.get(), 0) = 5;
    *int_at(a.get(), 1) = 6;
    for (i32 i = 0; i < 17; ++i)
        InsertElement(b.get(), 0);
    ASSERT_EQ(b->growthIncrement, 64);
    SwapArrays(a.get(), b.get());
    EXPECT_EQ(ints_of(b.get()), (std::vector<i32>{5, 6}));
    EXPECT_EQ(a->upperBounds[0], 16);
    EXPECT_EQ(a->bufferLength, 192);
    EXPECT_EQ(b->bufferLength, 8);
    EXPECT_EQ(a->growthIncrement, 16);
    EXPECT_EQ(b->growthIncrement, 16);

    ArrayRef grid(CreateArray(2, QV_ARRAY_VALUE32, 1, 2));
    ArrayRef other(CreateArray(2, QV_ARRAY_VALUE32, 3, 0));
    SwapArrays(grid.get(), other.get());
    EXPECT_EQ(grid->upperBounds[0], 3);
    EXPECT_EQ(grid->upperBounds[1], 0);
    EXPECT_EQ(other->upperBounds[1], 2);

    ArrayRef strings(CreateArray(1, QV_ARRAY_STRING, 4));
    test::AssertionCapture capture;
    SwapArrays(a.get(), grid.get());
    SwapArrays(a.get(), strings.get());
    ASSERT_EQ(capture.count(), 2u);
    EXPECT_NE(capture.reports()[0].find("a->dimensions == b->dimensions"), std::string::npos);
    EXPECT_NE(capture.reports()[1].find("a->elementType == b->elementType"), std::string::npos);
    EXPECT_EQ(a->upperBounds[0], 16) << "mismatched arrays are left as they were";
    EXPECT_EQ(strings->upperBounds[0], 4);
}

}  // namespace

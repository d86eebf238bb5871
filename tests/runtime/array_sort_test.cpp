// Sorting arrays: ascending order for integers, Singles, Doubles (NaN last) and strings
// (ignoring case), inputs that defeat a plain quicksort, and the arrays the sorts leave alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "runtime/arrays/quick_sort.h"
#include "runtime/arrays/runtime_array.h"
#include "runtime/strings/string_compare.h"
#include "tests/support/assertion_capture.h"
#include "tests/support/string_helpers.h"
#include "tests/support/value_fixture.h"

namespace {

using namespace qv;

template <typename T>
RuntimeArray* array_of(i32 type, const std::vector<T>& values)
{
    RuntimeArray* array = CreateArray(1, type, static_cast<i32>(values.size()) - 1);
    if (!values.empty())
        std::memcpy(array->data, values.data(), values.size() * sizeof(T));
    return array;
}

template <typename T>
std::vector<T> values_of(const RuntimeArray* array)
{
    const auto* data = static_cast<const T*>(array->data);
    return std::vector<T>(data, data + array->upperBounds[0] + 1);
}

// Inputs of every shape that trips up partitioning schemes.
std::vector<std::vector<i32>> integer_inputs()
{
    std::vector<std::vector<i32>> inputs = {
        {},
        {5},
        {2, 1},
        {3, -1, 2, -1, 3, 0},
        {std::numeric_limits<i32>::max(), 0, std::numeric_limits<i32>::min(), -1, 1},
    };
    const i32 n = 3000;
    std::vector<i32> ascending(n), descending(n), equal(n, 7), organ(n), few(n), random(n);
    std::mt19937 generator(11);
    for (i32 i = 0; i < n; ++i) {
        ascending[i] = i;
        descending[i] = n - i;
        organ[i] = i < n / 2 ? i : n - i;
        few[i] = static_cast<i32>(generator() % 4) - 2;
        random[i] = static_cast<i32>(generator());
    }
    for (auto* v : {&ascending, &descending, &equal, &organ, &few, &random})
        inputs.push_back(*v);
    return inputs;
}

class ArraySort : public test::ValueTest { };

TEST_F(ArraySort, IntegersAscendInSignedOrder)
{
    for (const std::vector<i32>& input : integer_inputs()) {
        SCOPED_TRACE(input.size());
        RuntimeArray* array = array_of(QV_ARRAY_VALUE32, input);
        SortIntegerArray(array);
        std::vector<i32> expected = input;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(values_of<i32>(array), expected);
        RuntimeUnlockArray(array);
    }
}

// McIlroy's adversary: values are decided only when the sort compares them, always so as to
// make the pivot the smallest of its range. Against a quicksort alone this forces n^2 / 2
// comparisons; the heapsort fallback must keep it within O(n log n).
TEST_F(ArraySort, AnAdversaryCannotMakeTheSortQuadratic)
{
    const i32 n = 4096;
    const i32 gas = n;
    std::vector<i32> value(n, gas), items(n);
    for (i32 i = 0; i < n; ++i)
        items[i] = i;
    i32 solid = 0, candidate = 0;
    i64 comparisons = 0;
    sort_items(items.data(), n, [&](i32 x, i32 y) {
        ++comparisons;
        if (value[x] == gas && value[y] == gas)
            value[x == candidate ? x : y] = solid++;
        if (value[x] == gas)
            candidate = x;
        else if (value[y] == gas)
            candidate = y;
        return (value[x] > value[y]) - (value[x] < value[y]);
    });
    EXPECT_LT(comparisons, 8 * n * 12) << "n log2 n is " << n * 12;

    // The input the adversary built, sorted for real, still comes out in order.
    RuntimeArray* array = array_of(QV_ARRAY_VALUE32, value);
    SortIntegerArray(array);
    std::sort(value.begin(), value.end());
    EXPECT_EQ(values_of<i32>(array), value);
    RuntimeUnlockArray(array);
}

TEST_F(ArraySort, FloatsAscendWithNaNLast)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> input = {3.5, nan, -inf, 0.0, 1e-310, inf, -2.25, nan, -1e300, 3.5};
    const std::vector<double> expected = {-inf, -1e300, -2.25, 0.0, 1e-310, 3.5, 3.5, inf, nan, nan};

    RuntimeArray* doubles = array_of(QV_ARRAY_DOUBLE, input);
    SortFloatArray(doubles);
    const std::vector<double> sorted = values_of<double>(doubles);
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        if (std::isnan(expected[i]))
            EXPECT_TRUE(std::isnan(sorted[i]));
        else
            EXPECT_EQ(sorted[i], expected[i]);
    }
    RuntimeUnlockArray(doubles);

    // Type 0 holds Singles: their bit patterns would sort differently as integers.
    const std::vector<float> singles = {1.5f, -0.5f, -8.0f, 2.0f, static_cast<float>(nan), 0.25f};
    RuntimeArray* floats = array_of(QV_ARRAY_VALUE32, singles);
    SortFloatArray(floats);
    const std::vector<float> got = values_of<float>(floats);
    EXPECT_EQ(std::vector<float>(got.begin(), got.end() - 1), (std::vector<float>{-8.0f, -0.5f, 0.25f, 1.5f, 2.0f}));
    EXPECT_TRUE(std::isnan(got.back()));
    RuntimeUnlockArray(floats);
}

TEST_F(ArraySort, StringsAscendIgnoringCaseAndKeepTheirCounts)
{
    const std::vector<std::string> texts = {"banana", "Apple", "cherry", "apple", "BANANA", "", "Äpfel", "apricot"};
    std::vector<StringRef> strings;
    for (const std::string& text : texts)
        strings.push_back(test::utf8(text));
    RuntimeArray* array = CreateArray(1, QV_ARRAY_STRING, static_cast<i32>(texts.size()) - 1);
    auto** slots = static_cast<RuntimeString**>(array->data);
    for (size_t i = 0; i < strings.size(); ++i) {
        RuntimeLockString(strings[i].get());
        slots[i] = strings[i].get();
    }
    SortStringArray(array);

    std::vector<std::string> sorted;
    for (size_t i = 0; i < texts.size(); ++i)
        sorted.push_back(test::text_of(slots[i]));
    // Case-equal texts are adjacent in either order.
    auto folded = [](std::string s) {
        for (char& c : s)
            c = static_cast<char>(upper_case_byte(static_cast<u8>(c)));
        return s;
    };
    std::vector<std::string> keys;
    for (const std::string& s : sorted)
        keys.push_back(folded(s));
    EXPECT_EQ(
        keys,
        (std::vector<std::string>{"", "APPLE", "APPLE", "APRICOT", "BANANA", "BANANA", "CHERRY", folded("Äpfel")}));
    for (const StringRef& s : strings)
        EXPECT_EQ(s.get() ? s.get()->refCount : 2, 2) << "one count here, one in the array";
    RuntimeUnlockArray(array);
}

TEST_F(ArraySort, ArraysTheSortsLeaveAlone)
{
    SortIntegerArray(nullptr);
    SortStringArray(nullptr);
    RuntimeArray* empty = CreateArray(1, QV_ARRAY_VALUE32, -1);
    SortIntegerArray(empty);
    SortFloatArray(empty);
    RuntimeUnlockArray(empty);

    RuntimeArray* integers = array_of(QV_ARRAY_VALUE32, std::vector<i32>{4, 3, 2, 1});
    RuntimeArray* strings = CreateArray(1, QV_ARRAY_STRING, 1);
    RuntimeArray* two_d = CreateArray(2, QV_ARRAY_VALUE32, 1, 1);
    static_cast<i32*>(two_d->data)[0] = 9;
    test::AssertionCapture capture;
    SortIntegerArray(strings);
    SortFloatArray(strings);
    SortStringArray(integers);
    SortIntegerArray(two_d);
    ASSERT_EQ(capture.count(), 4u);
    EXPECT_NE(capture.reports()[0].find("RuntimeArray::kValue32 == array->elementType"), std::string::npos);
    EXPECT_NE(capture.reports()[1].find("0"), std::string::npos);
    EXPECT_NE(capture.reports()[2].find("RuntimeArray::kString == array->elementType"), std::string::npos);
    EXPECT_NE(capture.reports()[3].find("1 == array->dimensions"), std::string::npos);
    EXPECT_EQ(values_of<i32>(integers), (std::vector<i32>{4, 3, 2, 1}));
    EXPECT_EQ(static_cast<i32*>(two_d->data)[0], 9);
    RuntimeUnlockArray(integers);
    RuntimeUnlockArray(strings);
    RuntimeUnlockArray(two_d);
    EXPECT_TRUE(nothing_raised());
}

}  // namespace

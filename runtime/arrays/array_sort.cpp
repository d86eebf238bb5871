// Sorting one-dimensional arrays of integers, Singles, Doubles and strings in ascending order.
#include <cmath>

#include "runtime/arrays/quick_sort.h"
#include "runtime/arrays/runtime_array.h"
#include "runtime/diagnostics/assertion.h"
#include "runtime/strings/string_ref.h"

namespace qv {
namespace {

constexpr const char* kSource = "RuntimeArray";

template <typename T>
int compare_numbers(T a, T b)
{
    return (a > b) - (a < b);
}

// NaN sorts after every number, so that the order stays total and the sort well-defined.
template <typename T>
int compare_floating(T a, T b)
{
    const bool a_nan = std::isnan(a), b_nan = std::isnan(b);
    if (a_nan || b_nan)
        return a_nan - b_nan;
    return compare_numbers(a, b);
}

// The strings are borrowed from the array: the handles take no count and give none back.
int compare_strings(RuntimeString* a, RuntimeString* b)
{
    StringRef x = StringRef::adopt(a), y = StringRef::adopt(b);
    const int order = x.CompareNoCase(y);
    (void)x.leak();
    (void)y.leak();
    return order;
}

// The sorts leave alone a missing array, one without data or elements, and one of more than
// one dimension (after the report).
i32 sortable_count(const RuntimeArray* array)
{
    if (!array || !array->data || array->upperBounds[0] < 0)
        return 0;
    if (!check_one_dimension(array))
        return 0;
    return array->upperBounds[0] + 1;
}

}  // namespace
}  // namespace qv

using namespace qv;

extern "C" {

void SortIntegerArray(RuntimeArray* array)
{
    const i32 count = sortable_count(array);
    if (count < 2)
        return;
    if (array->elementType != QV_ARRAY_VALUE32) {
        assertion_failed(kSource, 520, "RuntimeArray::kValue32 == array->elementType");
        return;
    }
    sort_items(static_cast<i32*>(array->data), count, compare_numbers<i32>);
}

void SortFloatArray(RuntimeArray* array)
{
    const i32 count = sortable_count(array);
    if (count < 2)
        return;
    if (array->elementType == QV_ARRAY_VALUE32)
        sort_items(static_cast<float*>(array->data), count, compare_floating<float>);
    else if (array->elementType == QV_ARRAY_DOUBLE)
        sort_items(static_cast<double*>(array->data), count, compare_floating<double>);
    else
        assertion_failed(kSource, 540, "0");
}

void SortStringArray(RuntimeArray* array)
{
    const i32 count = sortable_count(array);
    if (count < 2)
        return;
    if (array->elementType != QV_ARRAY_STRING) {
        assertion_failed(kSource, 560, "RuntimeArray::kString == array->elementType");
        return;
    }
    sort_items(static_cast<RuntimeString**>(array->data), count, compare_strings);
}

}  // extern "C"

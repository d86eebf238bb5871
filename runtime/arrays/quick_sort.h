// The array sorts' algorithm, over any element type and three-way comparison (negative, zero,
// positive).
//
// A quicksort with three-way partitioning around the middle element: smaller elements go to
// the low end, greater ones to the high end, equal ones stay in the middle and are never looked
// at again, so runs of equal keys cost nothing. It recurses into the smaller side and loops on
// the larger, which keeps the stack depth logarithmic, and hands a range to heapsort when the
// partitions keep coming out lopsided, so no input takes more than O(n log n) comparisons.
// Equal elements do not keep their original order.
#pragma once

#include <utility>

#include "core/types.h"

namespace qv {
namespace sort_detail {

template <typename T, typename Compare>
void sift_down(T* items, i32 root, i32 count, Compare& compare)
{
    for (;;) {
        i32 child = 2 * root + 1;
        if (child >= count)
            return;
        if (child + 1 < count && compare(items[child], items[child + 1]) < 0)
            ++child;
        if (compare(items[root], items[child]) >= 0)
            return;
        std::swap(items[root], items[child]);
        root = child;
    }
}

template <typename T, typename Compare>
void heap_sort(T* items, i32 count, Compare& compare)
{
    for (i32 i = count / 2 - 1; i >= 0; --i)
        sift_down(items, i, count, compare);
    for (i32 end = count - 1; end > 0; --end) {
        std::swap(items[0], items[end]);
        sift_down(items, 0, end, compare);
    }
}

// Sorts items[low..high]. Every index stays inside the range whatever the comparison answers,
// so an inconsistent order (strings of mixed encodings) can misorder but never overrun.
template <typename T, typename Compare>
void quick_sort(T* items, i32 low, i32 high, i32 depth_budget, Compare& compare)
{
    while (low < high) {
        if (depth_budget-- <= 0) {
            heap_sort(items + low, high - low + 1, compare);
            return;
        }
        const T pivot = items[low + (high - low) / 2];
        i32 less_end = low, i = low, greater_start = high;
        while (i <= greater_start) {
            const int order = compare(items[i], pivot);
            if (order < 0)
                std::swap(items[less_end++], items[i++]);
            else if (order > 0)
                std::swap(items[i], items[greater_start--]);
            else
                ++i;
        }
        // [low, less_end) < pivot == [less_end, greater_start] < (greater_start, high]
        if (less_end - low < high - greater_start) {
            quick_sort(items, low, less_end - 1, depth_budget, compare);
            low = greater_start + 1;
        } else {
            quick_sort(items, greater_start + 1, high, depth_budget, compare);
            high = less_end - 1;
        }
    }
}

}  // namespace sort_detail

template <typename T, typename Compare>
void sort_items(T* items, i32 count, Compare compare)
{
    i32 depth_budget = 2;
    for (i32 n = count; n > 1; n >>= 1)
        depth_budget += 2;
    sort_detail::quick_sort(items, 0, count - 1, depth_budget, compare);
}

}  // namespace qv

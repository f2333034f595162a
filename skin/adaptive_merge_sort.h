#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace skin {

// A stable merge sort that takes runs already in order as they stand, so an order that is nearly sorted
// (a report re-sorted after a click, or the same column in the other direction) costs about one comparison
// per item. It never reads outside the range, whatever the comparator answers: a report's comparator need
// not be a strict weak order, which std::sort would require.
template <class Less> void AdaptiveMergeSort(int* first, int* last, Less&& less) {
    // Runs shorter than this are first made this long by binary insertion.
    constexpr std::size_t kMinRun = 32;
    const auto n = static_cast<std::size_t>(last - first);
    if (n < 2)
        return;
    const auto at = [first](std::size_t i) { return first + i; };
    std::vector<std::size_t> bounds{0};
    for (std::size_t start = 0; start < n;) {
        std::size_t end = start + 1;
        if (end < n && less(first[end], first[start])) {
            // Strictly falling: reversed, it rises, and no equal items change places.
            while (end + 1 < n && less(first[end + 1], first[end]))
                ++end;
            ++end;
            std::reverse(at(start), at(end));
        } else {
            while (end < n && !less(first[end], first[end - 1]))
                ++end;
        }
        for (const std::size_t stop = std::min(n, start + kMinRun); end < stop; ++end) {
            const int item = first[end];
            const auto place = std::upper_bound(at(start), at(end), item, less);
            std::move_backward(place, at(end), at(end + 1));
            *place = item;
        }
        bounds.push_back(end);
        start = end;
    }
    std::vector<int> storage(n);
    int* from = first;
    int* to = storage.data();
    while (bounds.size() > 2) {
        std::vector<std::size_t> merged{0};
        for (std::size_t r = 0; r + 1 < bounds.size(); r += 2) {
            const std::size_t mid = bounds[r + 1];
            const std::size_t end = r + 2 < bounds.size() ? bounds[r + 2] : mid;
            std::merge(from + bounds[r], from + mid, from + mid, from + end, to + bounds[r], less);
            merged.push_back(end);
        }
        std::swap(from, to);
        bounds.swap(merged);
    }
    if (from != first)
        std::copy(from, from + n, first);
}

template <class Less> void AdaptiveMergeSort(std::vector<int>& items, Less less) {
    AdaptiveMergeSort(items.data(), items.data() + items.size(), less);
}

} // namespace skin

#pragma once

#include "skin/adaptive_merge_sort.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace skin {

// Sorts items that start in item order by a report's comparator with few cache misses: a sample of the items
// picks splitters, every item is placed among them once by binary search, and the items of each bucket,
// still in item order, are sorted apart. A merge sort over a million items reads records in random order in
// each of its last passes; here the splitters' records stay in the cache while the others are read in the
// order they lie in memory, and a bucket is small enough for its records to stay in the cache while it is
// sorted. The answer is the sorted order when less orders every two distinct items (the grid's comparison
// does: the item index decides ties). Like AdaptiveMergeSort it never reads outside the range, whatever the
// comparator answers.
template <class Less> class DistributionSorter {
  public:
    explicit DistributionSorter(Less& less) : m_less(less) {}

    void Sort(int* first, std::size_t n, int depth = 0) {
        if (n < kMinimum || depth == kMaxDepth) {
            AdaptiveMergeSort(first, first + n, m_less);
            return;
        }
        // A power of two, so that the binary search over the splitters takes the same steps for every item.
        std::size_t buckets = kMaxBuckets;
        while (buckets > 2 && n / buckets < kBucketTarget)
            buckets /= 2;
        const std::vector<int> splitters = PickSplitters(first, n, buckets);
        std::vector<std::uint16_t> bucketOf(n);
        std::vector<std::size_t> starts(buckets + 1, 0);
        for (std::size_t i = 0; i < n; ++i) {
            const int item = first[i];
            std::size_t b = 0;
            for (std::size_t step = buckets / 2; step > 0; step /= 2)
                if (m_less(splitters[b + step - 1], item))
                    b += step;
            bucketOf[i] = static_cast<std::uint16_t>(b);
            ++starts[b + 1];
        }
        for (std::size_t b = 0; b < buckets; ++b)
            starts[b + 1] += starts[b];
        std::vector<int> placed(n);
        std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
        for (std::size_t i = 0; i < n; ++i)
            placed[next[bucketOf[i]]++] = first[i];
        std::copy(placed.begin(), placed.end(), first);
        for (std::size_t b = 0; b < buckets; ++b) {
            const std::size_t size = starts[b + 1] - starts[b];
            if (size > 1)
                Sort(first + starts[b], size, depth + 1);
        }
    }

  private:
    // Below this many items the merge sort's records fit in the cache anyway.
    static constexpr std::size_t kMinimum = 8192;
    // A comparator that is no order can leave nearly everything in one bucket level after level: from this
    // depth on the merge sort takes over.
    static constexpr int kMaxDepth = 4;
    static constexpr std::size_t kMaxBuckets = 1024;
    // Items a bucket should hold: few enough for their records to stay in the cache.
    static constexpr std::size_t kBucketTarget = 512;
    // Sample items per bucket.
    static constexpr std::size_t kOversampling = 8;

    // buckets - 1 items spread evenly over the sorted sample.
    std::vector<int> PickSplitters(const int* first, std::size_t n, std::size_t buckets) {
        std::vector<int> sample(buckets * kOversampling);
        for (std::size_t i = 0; i < sample.size(); ++i)
            sample[i] = first[i * n / sample.size()];
        AdaptiveMergeSort(sample.data(), sample.data() + sample.size(), m_less);
        std::vector<int> splitters(buckets - 1);
        for (std::size_t b = 0; b + 1 < buckets; ++b)
            splitters[b] = sample[(b + 1) * kOversampling];
        return splitters;
    }

    Less& m_less;
};

template <class Less> void DistributionSort(std::vector<int>& items, Less less) {
    DistributionSorter<Less>(less).Sort(items.data(), items.size());
}

} // namespace skin

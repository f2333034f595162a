#include "skin/skin_list_box_key_sort.h"

#include <QStringView>
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <utility>

namespace skin {

namespace {

// Real ints take every value but the two no-data ones, so ranks run 0 .. kLastRealInt and the no-data
// values take the two above it: -2 before -1.
constexpr std::uint32_t kLastRealInt = 0xFFFFFFFDu;
constexpr std::uint32_t kSignBit = 0x80000000u;
constexpr std::uint32_t kInfinityBits = 0x7F800000u;

// Texts longer than this (in code units) sort through the comparisons.
constexpr std::uint32_t kMaxTextLength = 0xFFFFFFF0u;
// How many entries ahead a text's units are fetched while keys are read.
constexpr std::ptrdiff_t kPrefetchAhead = 8;
// Below this many entries a comparison sort beats counting bytes.
constexpr std::size_t kRadixMinimum = 256;

// Stable sort of [first, last) by key(entry), a byte a pass from the lowest; passes whose byte is the same in
// every entry are skipped. buffer holds at least as many entries.
template <class T, std::size_t KeyBytes, class Key> void RadixSort(T* first, T* last, T* buffer, Key key) {
    const auto n = static_cast<std::size_t>(last - first);
    std::array<std::array<std::size_t, 256>, KeyBytes> counts{};
    for (const T* e = first; e != last; ++e) {
        const std::uint64_t k = key(*e);
        for (std::size_t b = 0; b < KeyBytes; ++b)
            ++counts[b][(k >> (8 * b)) & 0xFF];
    }
    T* from = first;
    T* to = buffer;
    for (std::size_t b = 0; b < KeyBytes; ++b) {
        std::array<std::size_t, 256>& count = counts[b];
        if (std::find(count.begin(), count.end(), n) != count.end())
            continue;
        std::size_t start = 0;
        for (std::size_t& c : count)
            start += std::exchange(c, start);
        for (const T* e = from; e != from + n; ++e)
            to[count[(key(*e) >> (8 * b)) & 0xFF]++] = *e;
        std::swap(from, to);
    }
    if (from != first)
        std::copy(from, from + n, first);
}

struct TextEntry {
    std::uint64_t prefix;
    const QChar* text;
    std::uint32_t size;
    std::uint32_t index; // position in the items given
};

// A text's next four code units from offset, the first in the highest bits; missing units read as 0, so a
// text that ends sorts before every longer one with the same units (and ties with one that goes on with 0).
std::uint64_t Prefix(const TextEntry& e, std::uint32_t offset) {
    std::uint64_t prefix = 0;
    for (std::uint32_t i = offset; i < offset + 4; ++i)
        prefix = (prefix << 16) | (i < e.size ? e.text[i].unicode() : 0u);
    return prefix;
}

struct TextRun {
    std::size_t first;
    std::size_t last;
    std::uint32_t offset; // every text of the run has the same code units before it
};

} // namespace

std::uint32_t IntSortRank(int value, bool invert, bool descending) {
    if (value == -2)
        return kLastRealInt + 1;
    if (value == -1)
        return kLastRealInt + 2;
    // Sign flipped, the bits order as the values do; the two no-data values leave a gap of two.
    std::uint32_t rank = static_cast<std::uint32_t>(value) ^ kSignBit;
    if (value >= 0)
        rank -= 2;
    return invert != descending ? kLastRealInt - rank : rank;
}

std::uint32_t FloatSortRank(float value, bool invert, bool descending) {
    // NaN is the lowest no-data value; -0 is 0.
    const float v = std::isnan(value) ? -std::numeric_limits<float>::infinity() : value;
    if (v < 0) {
        // No data sorts by plain value, reversed when descending, after every real value.
        const std::uint32_t magnitude = std::bit_cast<std::uint32_t>(v) & ~kSignBit;
        return kSignBit + (descending ? magnitude : kInfinityBits - magnitude);
    }
    // The bits of a float from 0 to infinity order as the values do.
    const std::uint32_t bits = v == 0 ? 0u : std::bit_cast<std::uint32_t>(v);
    return invert != descending ? kInfinityBits - bits : bits;
}

void SortByRanks(std::vector<int>& items, const std::vector<std::uint32_t>& ranks) {
    // The rank above the position: equal ranks keep their positions, which are in item order.
    std::vector<std::uint64_t> keyed(items.size());
    for (std::size_t i = 0; i < items.size(); ++i)
        keyed[i] = (std::uint64_t{ranks[i]} << 32) | i;
    if (keyed.size() < kRadixMinimum) {
        std::sort(keyed.begin(), keyed.end());
    } else {
        std::vector<std::uint64_t> buffer(keyed.size());
        RadixSort<std::uint64_t, 4>(keyed.data(), keyed.data() + keyed.size(), buffer.data(),
                                    [](std::uint64_t k) { return k >> 32; });
    }
    std::vector<int> sorted(items.size());
    for (std::size_t i = 0; i < keyed.size(); ++i)
        sorted[i] = items[static_cast<std::size_t>(keyed[i] & 0xFFFFFFFFu)];
    items.swap(sorted);
}

bool SortByTexts(std::vector<int>& items, const std::vector<const QString*>& texts, bool descending) {
    // Sorted four code units at a time: each run of equal units is sorted again on the next four, so most
    // texts are read a few times in all instead of at every comparison.
    const std::size_t n = items.size();
    std::vector<TextEntry> entries(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (texts[i]->size() > qsizetype{kMaxTextLength})
            return false;
        entries[i] = {0, texts[i]->constData(), static_cast<std::uint32_t>(texts[i]->size()),
                      static_cast<std::uint32_t>(i)};
    }
    std::vector<TextEntry> buffer(n);
    const auto entryLess = [](const TextEntry& a, const TextEntry& b) {
        return a.prefix < b.prefix || (a.prefix == b.prefix && a.index < b.index);
    };
    std::vector<TextRun> runs{{0, n, 0}};
    while (!runs.empty()) {
        const TextRun run = runs.back();
        runs.pop_back();
        TextEntry* first = entries.data() + run.first;
        TextEntry* last = entries.data() + run.last;
        for (TextEntry* e = first; e != last; ++e) {
            // The texts lie all over the heap: their units are fetched a few entries ahead.
            if (last - e > kPrefetchAhead)
                __builtin_prefetch(e[kPrefetchAhead].text + run.offset);
            const std::uint64_t prefix = Prefix(*e, run.offset);
            e->prefix = descending ? ~prefix : prefix;
        }
        if (run.last - run.first < kRadixMinimum) {
            std::sort(first, last, entryLess);
        } else {
            // Entries of a run are in item order, so a stable sort keeps equal ones there.
            RadixSort<TextEntry, 8>(first, last, buffer.data(), [](const TextEntry& e) { return e.prefix; });
        }
        const std::uint32_t next = run.offset + 4;
        for (TextEntry* from = first; from != last;) {
            TextEntry* to = from + 1;
            bool longer = from->size > next;
            for (; to != last && to->prefix == from->prefix; ++to)
                longer = longer && to->size > next;
            if (to - from > 1) {
                if (longer) {
                    runs.push_back({static_cast<std::size_t>(from - entries.data()),
                                    static_cast<std::size_t>(to - entries.data()), next});
                } else {
                    // A text ended within these units (their zeros may be real ones): the texts from offset
                    // on decide.
                    const std::uint32_t offset = run.offset;
                    std::sort(from, to, [offset, descending](const TextEntry& a, const TextEntry& b) {
                        const QStringView x(a.text + std::min(offset, a.size),
                                            a.size - std::min(offset, a.size));
                        const QStringView y(b.text + std::min(offset, b.size),
                                            b.size - std::min(offset, b.size));
                        const int r = x.compare(y);
                        return (descending ? r > 0 : r < 0) || (r == 0 && a.index < b.index);
                    });
                }
            }
            from = to;
        }
    }
    std::vector<int> sorted(n);
    for (std::size_t i = 0; i < n; ++i)
        sorted[i] = items[entries[i].index];
    items.swap(sorted);
    return true;
}

} // namespace skin

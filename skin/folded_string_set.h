#pragma once

#include <QStringView>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace skin {

// A set of texts in which texts equal but for case (as QString compares them ignoring case) are one entry.
// It is made once and then asked for every row of a report, so it keeps the texts folded and finds a text
// by one pass that folds and hashes it together, without a copy on the heap for texts of usual length.
class FoldedStringSet {
  public:
    FoldedStringSet() = default;
    template <class Iterator> FoldedStringSet(Iterator first, Iterator last) {
        reserve(static_cast<std::size_t>(std::distance(first, last)));
        for (; first != last; ++first)
            Insert(*first);
    }

    void reserve(std::size_t count);
    // Whether the text was new.
    bool Insert(QStringView text);
    bool Contains(QStringView text) const;
    std::size_t Size() const { return m_texts.size(); }

  private:
    struct Slot {
        std::uint64_t hash = 0;
        std::uint32_t entry = 0; // index into m_texts + 1; 0 is an empty slot
    };
    // The slot that holds the folded text, or the empty one where it would go.
    std::size_t Probe(std::u16string_view folded, std::uint64_t hash) const;
    void Rehash(std::size_t slotCount);

    // Where an entry's folded text lies in m_units.
    struct Text {
        std::size_t offset = 0;
        std::size_t size = 0;
    };
    std::u16string_view TextOf(std::uint32_t entry) const {
        const Text& text = m_texts[entry - 1];
        return {m_units.data() + text.offset, text.size};
    }

    // The folded texts one after another: a look-up compares against memory the set keeps together rather
    // than against a string of its own on the heap for every entry.
    std::u16string m_units;
    std::vector<Text> m_texts;
    std::vector<Slot> m_slots;
};

} // namespace skin

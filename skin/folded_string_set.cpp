#include "skin/folded_string_set.h"

#include "skin/case_fold.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace skin {

namespace {

using fold::FoldAsciiWord;
using fold::FoldUnitAt;
using fold::kNonAscii;

// A text folded and hashed in one pass, in place for texts of usual length.
class Folded {
  public:
    explicit Folded(QStringView text) : m_size(text.size()) {
        char16_t* out = m_small.data();
        if (static_cast<std::size_t>(m_size) > m_small.size()) {
            m_large.resize(static_cast<std::size_t>(m_size));
            out = m_large.data();
        }
        const char16_t* in = text.utf16();
        m_hash = 0xCBF29CE484222325ull ^ static_cast<std::uint64_t>(m_size);
        qsizetype i = 0;
        for (; i + 4 <= m_size; i += 4) {
            std::uint64_t word;
            std::memcpy(&word, in + i, sizeof word);
            if ((word & kNonAscii) == 0) {
                word = FoldAsciiWord(word);
                std::memcpy(out + i, &word, sizeof word);
            } else {
                for (qsizetype k = i; k < i + 4; ++k)
                    out[k] = FoldUnitAt(in, k);
                std::memcpy(&word, out + i, sizeof word);
            }
            Mix(word);
        }
        if (i < m_size) {
            std::uint64_t word = 0;
            for (qsizetype k = i; k < m_size; ++k) {
                out[k] = FoldUnitAt(in, k);
                word |= std::uint64_t(out[k]) << (16 * (k - i));
            }
            Mix(word);
        }
        m_data = out;
    }
    std::u16string_view View() const { return {m_data, static_cast<std::size_t>(m_size)}; }
    std::uint64_t Hash() const { return m_hash; }

  private:
    void Mix(std::uint64_t word) {
        m_hash = (m_hash ^ word) * 0x9E3779B97F4A7C15ull;
        m_hash ^= m_hash >> 29;
    }

    std::array<char16_t, 64> m_small;
    std::u16string m_large;
    const char16_t* m_data = nullptr;
    qsizetype m_size;
    std::uint64_t m_hash = 0;
};

} // namespace

void FoldedStringSet::reserve(std::size_t count) {
    m_texts.reserve(count);
    // At most half full, so probes stay short.
    const std::size_t slotCount = std::bit_ceil(std::max<std::size_t>(16, 2 * count));
    if (slotCount > m_slots.size())
        Rehash(slotCount);
}

std::size_t FoldedStringSet::Probe(std::u16string_view folded, std::uint64_t hash) const {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = static_cast<std::size_t>(hash) & mask;; at = (at + 1) & mask) {
        const Slot& slot = m_slots[at];
        if (slot.entry == 0 || (slot.hash == hash && TextOf(slot.entry) == folded))
            return at;
    }
}

void FoldedStringSet::Rehash(std::size_t slotCount) {
    std::vector<Slot> old(slotCount);
    old.swap(m_slots);
    const std::size_t mask = slotCount - 1;
    for (const Slot& slot : old) {
        if (slot.entry != 0) {
            std::size_t at = static_cast<std::size_t>(slot.hash) & mask;
            while (m_slots[at].entry != 0)
                at = (at + 1) & mask;
            m_slots[at] = slot;
        }
    }
}

bool FoldedStringSet::Insert(QStringView text) {
    if (2 * (m_texts.size() + 1) > m_slots.size())
        Rehash(std::max<std::size_t>(16, 2 * m_slots.size()));
    const Folded folded(text);
    Slot& slot = m_slots[Probe(folded.View(), folded.Hash())];
    if (slot.entry != 0)
        return false;
    m_texts.push_back({m_units.size(), folded.View().size()});
    m_units.append(folded.View());
    slot = {folded.Hash(), static_cast<std::uint32_t>(m_texts.size())};
    return true;
}

bool FoldedStringSet::Contains(QStringView text) const {
    if (m_texts.empty())
        return false;
    const Folded folded(text);
    return m_slots[Probe(folded.View(), folded.Hash())].entry != 0;
}

} // namespace skin

#pragma once

#include <QString>
#include <cstdint>
#include <vector>

// Orders of the report grid built from keys read once per item, equal to what sorting with the grid's
// comparisons (CompareIntValues, CompareFloatValues, QString::compare) gives: no-data values last in both
// directions, equal keys in item order. items holds the visible items in ascending item order; the key at
// each position belongs to the item at the same position.
namespace skin {

// Ranks that sort ascending in the grid's display order: real values first (flipped when the column is
// inverted or sorted descending, not both), then the no-data values.
std::uint32_t IntSortRank(int value, bool invert, bool descending);
std::uint32_t FloatSortRank(float value, bool invert, bool descending);

// Sorts items by ranks (as the two functions above make them).
void SortByRanks(std::vector<int>& items, const std::vector<std::uint32_t>& ranks);

// Sorts items by texts compared code unit by code unit (QString::compare, case-sensitive); false, leaving
// items as they were, when a text is too long for its length to be kept in the sort's 32 bits.
bool SortByTexts(std::vector<int>& items, const std::vector<const QString*>& texts, bool descending);

} // namespace skin

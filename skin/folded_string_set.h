#pragma once

#include <QString>
#include <QStringView>
#include <cstddef>
#include <unordered_set>

namespace skin {

// Hash and equality of texts that ignore case (simple case folding, as QString's case-insensitive compare),
// so a set can be searched with any text without folding a copy of it first.
struct FoldedHash {
    using is_transparent = void;
    std::size_t operator()(QStringView text) const noexcept;
};

struct FoldedEqual {
    using is_transparent = void;
    bool operator()(QStringView a, QStringView b) const noexcept;
};

// A set of texts in which equal-but-for-case texts are one entry: the first one inserted.
using FoldedStringSet = std::unordered_set<QString, FoldedHash, FoldedEqual>;

} // namespace skin

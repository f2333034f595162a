#include "skin/folded_string_set.h"

#include <QChar>

namespace skin {

std::size_t FoldedHash::operator()(QStringView text) const noexcept {
    // FNV-1a over the folded code points.
    std::size_t hash = 14695981039346656037ull;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        }
        hash = (hash ^ QChar::toCaseFolded(c)) * 1099511628211ull;
    }
    return hash;
}

} // namespace skin

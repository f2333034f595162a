#include "projects/common/ad_text.h"

#include "skin/case_fold.h"

QString AdTextOneLine(const CDownloader_Parsers_SE_result& ad) {
    return ad.body.simplified();
}

namespace {

// The units of a text as simplified() gives them, one at a time: the white space at both ends left out and
// each run of it inside as one blank.
class SimplifiedUnits {
  public:
    static constexpr int kEnd = -1;

    explicit SimplifiedUnits(QStringView text) : m_text(text) { SkipSpaces(); }
    // The next unit, or kEnd after the last.
    int Next() {
        if (m_blankDue) {
            m_blankDue = false;
            return u' ';
        }
        if (m_at == m_text.size())
            return kEnd;
        const char16_t unit = m_text[m_at++].unicode();
        const qsizetype runStart = m_at;
        SkipSpaces();
        m_blankDue = m_at > runStart && m_at < m_text.size();
        return unit;
    }

  private:
    void SkipSpaces() {
        while (m_at < m_text.size() && m_text[m_at].isSpace())
            ++m_at;
    }

    QStringView m_text;
    qsizetype m_at = 0;
    bool m_blankDue = false;
};

} // namespace

int CompareAdTextsOneLine(const CDownloader_Parsers_SE_result& a, const CDownloader_Parsers_SE_result& b) {
    SimplifiedUnits x(a.body);
    SimplifiedUnits y(b.body);
    char16_t beforeX = 0;
    char16_t beforeY = 0;
    for (;;) {
        const int ux = x.Next();
        const int uy = y.Next();
        if (ux < 0 || uy < 0)
            return ux == uy ? 0 : ux < 0 ? -1 : 1;
        // As in skin::fold::CompareFolded, equal units fold alike.
        if (ux != uy) {
            const int diff = int(skin::fold::FoldedCode(char16_t(ux), beforeX)) -
                             int(skin::fold::FoldedCode(char16_t(uy), beforeY));
            if (diff != 0)
                return diff;
        }
        beforeX = char16_t(ux);
        beforeY = char16_t(uy);
    }
}

#include "platform/font.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHash>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace plat {

QString FontFamilyFor(const QString& face) {
    if (face.compare("Arial"_L1, Qt::CaseInsensitive) == 0 ||
        face.compare("Helvetica"_L1, Qt::CaseInsensitive) == 0)
        return u"Liberation Sans"_s;
    if (face.compare("Tahoma"_L1, Qt::CaseInsensitive) == 0 ||
        face.compare("Verdana"_L1, Qt::CaseInsensitive) == 0)
        return u"DejaVu Sans"_s;
    return face;
}

namespace {

// Cell height (ascent + descent) per em of a family, measured once at a large size for precision.
double CellPerEm(const QString& family) {
    static QHash<QString, double> cache;
    const auto it = cache.constFind(family);
    if (it != cache.constEnd())
        return *it;
    QFont probe(family);
    probe.setPixelSize(1000);
    const QFontMetricsF fm(probe);
    double ratio = (fm.ascent() + fm.descent()) / 1000.0;
    if (!(ratio > 0.5 && ratio < 3.0))
        ratio = 1.15;
    cache.insert(family, ratio);
    return ratio;
}

// Shorter texts are measured whole, as they always were; longer ones from a beginning this long, doubled
// until it reaches past the width asked for.
constexpr qsizetype kWholeText = 1024;
constexpr qsizetype kMostShown = qsizetype(1) << 16;
// Marks and low surrogates after a cut stay with the character they belong to, up to this many.
constexpr qsizetype kMostJoined = 32;

// The end of a beginning of about length characters that splits no surrogate pair and leaves no mark
// without its base.
qsizetype CharactersEnd(const QString& text, qsizetype length) {
    qsizetype end = std::min(length, text.size());
    const qsizetype most = std::min(text.size(), end + kMostJoined);
    while (end < most && (text[end].isLowSurrogate() || text[end].isMark()))
        ++end;
    return end;
}

} // namespace

QString ShownBeginning(const QString& text, int width, const std::function<int(const QString&)>& widthOf) {
    if (text.size() <= kWholeText)
        return text;
    for (qsizetype length = kWholeText;; length *= 2) {
        const qsizetype end = CharactersEnd(text, length);
        if (end >= text.size())
            return text;
        QString beginning = text.left(end);
        if (widthOf(beginning) > width)
            return beginning;
        if (length >= kMostShown)
            return beginning + u'\u2026';
    }
}

Font::Font(const QString& face, int height, int weight, bool italic, bool underline, FontStyleHint hint)
    : m_font(std::make_unique<QFont>(FontFamilyFor(face))) {
    const QString family = FontFamilyFor(face);
    // Sets the style strategy too, so it goes first.
    if (hint == FontStyleHint::SansSerif)
        m_font->setStyleHint(QFont::SansSerif);
    int pixels = height < 0 ? -height : static_cast<int>(std::lround(height / CellPerEm(family)));
    m_font->setPixelSize(std::max(1, pixels));
    m_font->setWeight(static_cast<QFont::Weight>(std::clamp(weight, 100, 900)));
    m_font->setItalic(italic);
    m_font->setUnderline(underline);
    m_font->setStyleStrategy(QFont::PreferAntialias);
    m_font->setKerning(false); // the skin measures runs piece by piece; kerning would make pieces disagree
}

Font::Font(const Font& other) : m_font(std::make_unique<QFont>(*other.m_font)) {}

Font& Font::operator=(const Font& other) {
    if (this != &other)
        *m_font = *other.m_font;
    return *this;
}

Font::~Font() = default;

int Font::ascent() const {
    return QFontMetrics(*m_font).ascent();
}
int Font::descent() const {
    return QFontMetrics(*m_font).descent();
}
int Font::height() const {
    return QFontMetrics(*m_font).height();
}

Size Font::textExtent(const QString& text) const {
    const QFontMetrics fm(*m_font);
    const auto advance = [&fm](const QString& part) { return fm.horizontalAdvance(part); };
    return Size{std::min(advance(ShownBeginning(text, kMaxLineWidth, advance)), kMaxLineWidth), fm.height()};
}

QString Font::elided(const QString& text, int width) const {
    const QFontMetrics fm(*m_font);
    const auto advance = [&fm](const QString& part) { return fm.horizontalAdvance(part); };
    return fm.elidedText(ShownBeginning(text, std::max(0, width), advance), Qt::ElideRight,
                         std::max(0, width));
}

const QFont& Font::qfont() const {
    return *m_font;
}

} // namespace plat

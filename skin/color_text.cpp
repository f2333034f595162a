#include "skin/color_text.h"

#include "core/char_codes.h"

namespace skin {

namespace {

int PairAt(const QString& text, qsizetype at) {
    if (at + 1 >= text.size())
        return 0;
    const int high = HexDigitValue(text[at]);
    const int low = HexDigitValue(text[at + 1]);
    return high < 0 || low < 0 ? 0 : high * 16 + low;
}

} // namespace

plat::ColorRef ParseColorText(const QString& text) {
    const qsizetype start = text.startsWith(u'#') ? 1 : 0;
    return plat::Rgb(PairAt(text, start), PairAt(text, start + 2), PairAt(text, start + 4));
}

QString ColorText(plat::ColorRef color) {
    return QStringLiteral("%1%2%3")
        .arg(plat::RedOf(color), 2, 16, QChar(u'0'))
        .arg(plat::GreenOf(color), 2, 16, QChar(u'0'))
        .arg(plat::BlueOf(color), 2, 16, QChar(u'0'))
        .toUpper();
}

} // namespace skin

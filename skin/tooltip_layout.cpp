#include "skin/tooltip_layout.h"

#include <QStringList>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace skin {

namespace {

// Greedy word wrap of one paragraph (no line breaks inside) starting at index base of the whole text.
void WrapParagraph(const QString& paragraph, qsizetype base, const plat::Font& font, int maxWidth,
                   std::vector<TooltipLayout::Line>& lines) {
    qsizetype lineStart = 0;
    qsizetype lastBreak = -1; // index of the blank after the last word that fits
    qsizetype pos = 0;
    while (pos <= paragraph.size()) {
        const bool atEnd = pos == paragraph.size();
        if (atEnd || paragraph.at(pos) == u' ') {
            const QString candidate = paragraph.mid(lineStart, pos - lineStart);
            if (font.textExtent(candidate).cx > maxWidth && lastBreak > lineStart) {
                lines.push_back({paragraph.mid(lineStart, lastBreak - lineStart), base + lineStart});
                lineStart = lastBreak + 1;
                lastBreak = -1;
                pos = lineStart;
                continue;
            }
            if (atEnd)
                break;
            lastBreak = pos;
        }
        ++pos;
    }
    lines.push_back({paragraph.mid(lineStart), base + lineStart});
}

} // namespace

TooltipLayout LayoutTooltip(const QString& rawText, const plat::Font& font, int maxWidth) {
    QString text = rawText;
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(u'\t', u"    "_s);
    TooltipLayout layout;
    layout.lineHeight = font.height();
    qsizetype base = 0;
    for (const QString& paragraph : text.split(u'\n')) {
        if (font.textExtent(paragraph).cx <= maxWidth)
            layout.lines.push_back({paragraph, base});
        else
            WrapParagraph(paragraph, base, font, maxWidth, layout.lines);
        base += paragraph.size() + 1;
    }
    for (const auto& line : layout.lines)
        layout.textWidth = qMax(layout.textWidth, font.textExtent(line.text).cx);
    layout.textHeight = int(layout.lines.size()) * layout.lineHeight;

    layout.link = FindTooltipLink(text);
    if (layout.link.start >= 0) {
        for (size_t i = 0; i < layout.lines.size(); ++i) {
            const auto& line = layout.lines[i];
            const qsizetype offset = layout.link.start - line.start;
            if (offset >= 0 && offset < line.text.size()) {
                const int x = font.textExtent(line.text.left(offset)).cx;
                const int w = font.textExtent(layout.link.url).cx;
                layout.linkRect = plat::Rect::fromXywh(x, int(i) * layout.lineHeight, w, layout.lineHeight);
                break;
            }
        }
    }
    return layout;
}

plat::Rect PlaceTooltip(plat::Point cursor, plat::Size size, const plat::Rect& workArea) {
    constexpr int kBelowPointer = 30; // clear of the pointer's own picture
    constexpr int kAbovePointer = 10;
    int left = cursor.x - size.cx / 3;
    int top = cursor.y + kBelowPointer;
    if (top + size.cy > workArea.bottom)
        top = cursor.y - kAbovePointer - size.cy;
    left = std::max(workArea.left, std::min(left, workArea.right - size.cx));
    top = std::max(workArea.top, std::min(top, workArea.bottom - size.cy));
    return plat::Rect::fromXywh(left, top, size.cx, size.cy);
}

} // namespace skin

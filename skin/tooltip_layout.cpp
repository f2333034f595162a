#include "skin/tooltip_layout.h"

#include <QStringList>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace skin {

namespace {

// Greedy word wrap of one paragraph (no line breaks inside) starting at index base of the whole text; no
// lines past kTooltipMaxLines are made.
void WrapParagraph(const QString& paragraph, qsizetype base, const plat::Font& font, int maxWidth,
                   std::vector<TooltipLayout::Line>& lines) {
    qsizetype lineStart = 0;
    qsizetype lastBreak = -1; // index of the blank after the last word that fits
    qsizetype pos = 0;
    while (pos <= paragraph.size() && lines.size() < size_t(kTooltipMaxLines)) {
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
    if (lines.size() < size_t(kTooltipMaxLines))
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
    while (base <= text.size() && layout.lines.size() < size_t(kTooltipMaxLines)) {
        const qsizetype end = text.indexOf(u'\n', base);
        const QString paragraph = text.mid(base, (end < 0 ? text.size() : end) - base);
        if (font.textExtent(paragraph).cx <= maxWidth)
            layout.lines.push_back({paragraph, base});
        else
            WrapParagraph(paragraph, base, font, maxWidth, layout.lines);
        base += paragraph.size() + 1;
    }
    if (!layout.lines.empty()) {
        const TooltipLayout::Line& last = layout.lines.back();
        if (last.start + last.text.size() < text.size())
            layout.lines.back().text = font.elided(last.text + u'\u2026', maxWidth);
    }
    for (auto& line : layout.lines) {
        line.text = font.elided(line.text, kTooltipWidestLine);
        layout.textWidth = qMax(layout.textWidth, font.textExtent(line.text).cx);
    }
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

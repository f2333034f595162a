// Painting of the report grid into its back buffer: header, rows and cells.

#include "skin/list_box_geometry.h"
#include "skin/list_box_pieces.h"
#include "skin/scroll_geometry.h"
#include "skin/skin_atlas.h"
#include "skin/skin_dlg_base.h"
#include "skin/skin_list_box.h"

#include <QtGlobal>
#include <algorithm>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;
namespace pieces = skin::list_box_pieces;

namespace {

constexpr plat::ColorRef kSeparatorDark = plat::Rgb(0, 154, 233);
constexpr plat::ColorRef kSeparatorLight = plat::Rgb(221, 250, 253);
constexpr plat::ColorRef kGridLine = plat::Rgb(203, 218, 227);
constexpr plat::ColorRef kTitleColor = plat::Rgb(0, 0, 0);
constexpr plat::ColorRef kTitleGlow = plat::Rgb(255, 255, 255);
constexpr plat::ColorRef kLinkColor = plat::Rgb(0, 0, 255);
constexpr plat::ColorRef kLinkUnderline = plat::Rgb(0, 0, 200);
constexpr plat::ColorRef kLinkPressed = plat::Rgb(0, 128, 128);
constexpr plat::ColorRef kChartFill = plat::Rgb(164, 208, 187);
constexpr plat::ColorRef kChartLight = plat::Rgb(200, 200, 200);
constexpr plat::ColorRef kChartDark = plat::Rgb(100, 100, 100);
constexpr plat::ColorRef kHighlightBox = plat::Rgb(255, 255, 0);
// The header's pictures end above its bottom; their last rows stretch down to it.
constexpr int kHeaderPictureHeight = pieces::kHeaderLeft.height();
constexpr int kHeaderCap = pieces::kHeaderLeft.width();
// The filter button sits this far left of and above the column's right edge and the header's bottom.
constexpr int kFilterButtonInset = 20;
// The rows reach this far into the frame's inset, which is 4 px wide beside the scrollbars (DrawScrollbars).
constexpr int kBodyOverlap = 3;
constexpr int kScrollInset = 4;
constexpr int kBarHeight = pieces::kBars[0].start.height();
constexpr int kBarCap = pieces::kBars[0].start.width();
constexpr int kButtonFaceHeight = pieces::kButtonLeft.height();
// Engine markers stand out of their cell to the upper left.
constexpr plat::Point kEngineOffset{-8, -7};
constexpr int kChartColumns = 12;
constexpr int kEmphasisLift = 15;
constexpr unsigned kCellTextFormat =
    plat::kTextSingleLine | plat::kTextVCenter | plat::kTextNoPrefix | plat::kTextWordEllipsis;

plat::ColorRef Lighter(plat::ColorRef c, int by) {
    return plat::Rgb(qMin(255, plat::RedOf(c) + by), qMin(255, plat::GreenOf(c) + by),
                     qMin(255, plat::BlueOf(c) + by));
}

// The background of a message spanning an emphasised column: shifted towards blue.
plat::ColorRef SpanEmphasis(plat::ColorRef c) {
    return plat::Rgb(qMax(0, plat::RedOf(c) - 10), qMax(0, plat::GreenOf(c) - 10),
                     qMin(255, plat::BlueOf(c) + 10));
}

// A text as highlight words are looked for in it: upper case, and a space for every character that is not a
// letter or a digit, one character for one so that positions stay those of the text.
QString HighlightForm(const QString& text) {
    QString out(text.size(), u' ');
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i].isLetterOrNumber())
            out[i] = text[i].toUpper();
    return out;
}

// Cells whose text is drawn as it stands, so that its characters can be found on screen.
bool ShowsPlainText(int kind) {
    switch (kind) {
    case CSkinListBox_Item::kText:
    case CSkinListBox_Item::kSmallText:
    case CSkinListBox_Item::kLink:
    case CSkinListBox_Item::kLinkAlways:
    case CSkinListBox_Item::kText8:
    case CSkinListBox_Item::kText10:
        return true;
    default:
        return false;
    }
}

void HLine(plat::DeviceContext& dc, int x1, int x2, int y, plat::ColorRef color) {
    dc.fillSolidRect(plat::Rect{x1, y, x2, y + 1}, color);
}

void VLine(plat::DeviceContext& dc, int x, int y1, int y2, plat::ColorRef color) {
    dc.fillSolidRect(plat::Rect{x, y1, x + 1, y2}, color);
}

} // namespace

const plat::Font& CSkinListBox::CellFont() const {
    return m_listFont ? *m_listFont : m_pDlg->m_font;
}

const plat::Font& CSkinListBox::BoldFont() const {
    return m_listFontBold ? *m_listFontBold : m_pDlg->m_fontBold15;
}

const plat::Font& CSkinListBox::SmallFont() const {
    return m_listFontSmall ? *m_listFontSmall : m_pDlg->m_fontSup;
}

void CSkinListBox::SetListFont(const QString& face, int height) {
    // The report's column widths were chosen for the dialog's font (Arial 15 before the grid has a dialog):
    // the scale follows the font from there, through every font set since.
    static const QString kSample = u"Wsddsa;ldasnsdfg0321283mc"_s;
    const plat::Font previous = m_listFont ? *m_listFont : m_pDlg ? m_pDlg->m_font : plat::Font();
    // Without the face, a sans-serif one rather than whatever the system falls back to.
    constexpr plat::FontStyleHint kSans = plat::FontStyleHint::SansSerif;
    const plat::Font font(face, height, plat::kFontWeightNormal, kSans);
    const int before = previous.textExtent(kSample).cx;
    const int after = font.textExtent(kSample).cx;
    if (before > 0 && after > 0)
        m_fontScale = m_fontScale * static_cast<float>(after) / static_cast<float>(before);
    m_listFont.emplace(font);
    m_listFontBold.emplace(face, height, plat::kFontWeightBold, kSans);
    m_listFontSmall.emplace(face, height - 2, plat::kFontWeightBold, kSans);
    if (m_ready)
        m_backDC.selectFont(&*m_listFont);
    m_layoutDirty = true;
    m_measureTitlesAgain = true;
    ++m_changeCount;
}

int CSkinListBox::ColumnRight(const CSkinListBox_Column& column) const {
    return column.x - m_scrollX + column.width + kColumnGap;
}

void CSkinListBox::Draw(plat::DeviceContext& dc, int x, int y, bool /*full*/) {
    if (m_ready && (m_changeCount != 0 || m_orderDirty)) {
        Paint(true, false);
        m_changeCount = 0;
    }
    dc.bitBlt(x, y, m_width, m_height, m_backDC, 0, 0);
}

void CSkinListBox::OnPositionChanged() {
    CSkinElement::OnPositionChanged();
    m_layoutDirty = true;
    if (!m_ready)
        return;
    if (m_width > m_backDC.width() || m_height > m_backDC.height()) {
        // The buffer only grows, so dragging a window's edge to and fro does not re-make it each step.
        m_backDC.create(qMax(m_width, m_backDC.width()), qMax(m_height, m_backDC.height()));
        m_backDC.setStretchMode(plat::StretchMode::Halftone);
        if (m_pDlg)
            m_backDC.selectFont(&CellFont());
    }
    Paint(true, false);
}

void CSkinListBox::Rebuild(bool noRedraw, bool headerOnly) {
    if (!headerOnly)
        m_orderDirty = true;
    Paint(noRedraw, headerOnly);
}

void CSkinListBox::Paint(bool noRedraw, bool headerOnly) {
    if (!m_visible || !m_ready || !m_pDlg || m_width <= 0 || m_height <= 0) {
        m_changeCount = 1;
        return;
    }
    if (m_layoutDirty && !m_columns.empty())
        LayoutColumns(m_width - skin::kScrollbarWidth - 4);
    if (!headerOnly) {
        m_painting = true;
        UpdateItemCount();
        m_painting = false;
        int contentWidth = 0;
        for (const CSkinListBox_Column& c : m_columns)
            if (c.groupRole != CSkinListBox_Column::kGroupHead)
                contentWidth += c.width + kColumnGap;
        m_contentWidth = contentWidth;
        m_contentHeight = skin::RowsContentHeight(VisibleCount(), Pitch());
        DrawFrame(0, 0, m_width, m_height, m_backDC);
        // The vertical bar runs below the header; the header never scrolls vertically.
        DrawScrollbars(m_backDC, kHeaderHeight - 4, 0);
        const int viewHeight = m_height - m_viewTop - m_bottomInset;
        const int viewWidth = m_width - m_viewLeft - m_rightInset;
        const int scrollY = skin::ClampScrollOffset(m_scrollY, m_contentHeight, viewHeight);
        const int scrollX = skin::ClampScrollOffset(m_scrollX, m_contentWidth, viewWidth);
        if (scrollY != m_scrollY || scrollX != m_scrollX) {
            // Fewer rows than before: the view moves up to the last of them.
            m_scrollY = scrollY;
            m_scrollX = scrollX;
            DrawScrollbars(m_backDC, kHeaderHeight - 4, 0);
        }
    }
    PaintHeader();
    if (!headerOnly)
        PaintBody();
    if (!noRedraw)
        Redraw();
}

void CSkinListBox::LayoutColumns(int availableWidth) {
    if (!m_visible || m_columns.empty() || !m_pDlg)
        return;
    bool measured = false;
    for (CSkinListBox_Column& c : m_columns) {
        if (c.groupRole == CSkinListBox_Column::kGroupHead || (c.minWidth != 0 && !m_measureTitlesAgain))
            continue;
        // A title measured again for a new font leaves the width the report asked for as it was.
        measured = measured || c.minWidth == 0;
        c.minWidth = BoldFont().textExtent(c.title).cx +
                     (c.filterType != CSkinListBox_Column::kNoFilter ? kFilterButtonInset : 0);
    }
    m_measureTitlesAgain = false;
    if (measured)
        for (CSkinListBox_Column& c : m_columns)
            c.baseWidth = c.width;
    m_lineHeight = MeasuredLineHeight();
    skin::DistributeColumnWidths(m_columns, availableWidth, m_fontScale);
    m_layoutDirty = false;
}

void CSkinListBox::PaintHeader() {
    plat::DeviceContext& dc = m_backDC;
    const plat::DeviceContext* atlas = m_pAtlasDC;
    const int w = m_width;
    const int h = kHeaderHeight;
    if (atlas) {
        const int middle = w - 2 * kHeaderCap;
        const int rows = h - kHeaderPictureHeight;
        auto piece = [&](const plat::Rect& src, int x, int y, int width, int height) {
            skin::StretchPiece(dc, plat::Rect::fromXywh(x, y, width, height), *atlas, src);
        };
        piece(pieces::kHeaderLeft, 0, 0, kHeaderCap, kHeaderPictureHeight);
        piece(pieces::kHeaderMiddle, kHeaderCap, 0, middle, kHeaderPictureHeight);
        piece(pieces::kHeaderRight, w - kHeaderCap, 0, kHeaderCap, kHeaderPictureHeight);
        piece(pieces::kHeaderLeftRow, 0, kHeaderPictureHeight, kHeaderCap, rows);
        piece(pieces::kHeaderMiddleRow, kHeaderCap, kHeaderPictureHeight, middle, rows);
        piece(pieces::kHeaderRightRow, w - kHeaderCap, kHeaderPictureHeight, kHeaderCap, rows);
    }
    dc.pushClip(plat::Rect{1, 0, w - 1, h});
    const plat::Font* previousFont = dc.selectFont(&CellFont());
    int x = 0;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        CSkinListBox_Column& c = m_columns[i];
        c.x = x;
        const int left = x - m_scrollX;
        if (c.groupRole == CSkinListBox_Column::kGroupHead) {
            int right = left;
            for (std::size_t j = i + 1;
                 j <= i + static_cast<std::size_t>(c.memberCount) && j < m_columns.size(); ++j)
                right += m_columns[j].width + kColumnGap;
            HLine(dc, left, right, h / 2 - 1, kSeparatorDark);
            HLine(dc, left, right, h / 2, kSeparatorLight);
            if (right > 0 && right <= w) {
                VLine(dc, right - 1, 0, h, kSeparatorDark);
                VLine(dc, right, 0, h, kSeparatorLight);
            }
            const plat::Size size = CellFont().textExtent(c.title);
            const QString title = CellFont().elided(c.title, right - left - 2 * kCellInset);
            dc.setTextColor(kTitleColor);
            dc.textOut(left + qMax(kCellInset, (right - left - size.cx) / 2), (h / 2 - size.cy) / 2, title);
            continue;
        }
        const int top = c.groupRole == CSkinListBox_Column::kGroupMember ? h / 2 : 0;
        const int right = ColumnRight(c);
        if (right > 0 && right <= w) {
            VLine(dc, right - 1, top, h, kSeparatorDark);
            VLine(dc, right, top, h, kSeparatorLight);
        }
        const bool filterable = c.filterType != CSkinListBox_Column::kNoFilter;
        const bool sorted = c.id == m_sortColumn;
        const plat::Font& font = sorted ? BoldFont() : CellFont();
        const int boxLeft = left + kCellInset;
        const int boxRight = filterable ? right - kFilterButtonInset - 2 : left + kCellInset + c.width;
        const QString title = font.elided(c.title, boxRight - boxLeft);
        const plat::Size size = font.textExtent(title);
        int tx = boxLeft;
        if (c.headerAlign == 2)
            tx = boxLeft + (boxRight - boxLeft - size.cx) / 2;
        else if (c.headerAlign == 3)
            tx = boxRight - size.cx;
        tx = qMax(boxLeft, tx);
        const int ty = top + (h - top - size.cy) / 2;
        if (sorted) {
            m_pDlg->DrawGlowText(dc, title, tx, ty, kTitleColor, kTitleGlow, &BoldFont(), &BoldFont(), 1);
        } else {
            dc.selectFont(&font);
            dc.setTextColor(kTitleColor);
            dc.textOut(tx, ty, title);
        }
        if (m_hoverHeader == static_cast<int>(i) && m_hoverFilter < 0)
            HLine(dc, tx, tx + size.cx, ty + size.cy * 9 / 10, kTitleColor);
        if (filterable && atlas) {
            const bool hot = m_hoverFilter == static_cast<int>(i);
            m_keyed.Draw(dc,
                         plat::Rect::fromXywh(right - kFilterButtonInset, h - kFilterButtonInset,
                                              pieces::kFilterButton[0][0].width(),
                                              pieces::kFilterButton[0][0].height()),
                         *atlas, pieces::kFilterButton[c.filterOn ? 1 : 0][hot ? 1 : 0]);
        }
        x += c.width + kColumnGap;
    }
    dc.selectFont(previousFont);
    dc.popClip();
    HLine(dc, 0, w, h - 1, kSeparatorDark);
}

plat::Rect CSkinListBox::BodyClip() const {
    // Inside the frame, below the header, clear of the scrollbars.
    return plat::Rect{1, kHeaderHeight, m_width - m_rightInset + kBodyOverlap,
                      m_height - m_bottomInset + kBodyOverlap};
}

int CSkinListBox::MeasuredLineHeight() const {
    // A line fits the cell font's tallest letters with a pixel above and below.
    return m_pDlg ? qMax(m_lineHeight, CellFont().textExtent(u"YygqzjW"_s).cy + 2) : m_lineHeight;
}

int CSkinListBox::WholeRowsShown() const {
    return Pitch() > 0 ? BodyClip().height() / Pitch() : 0;
}

int CSkinListBox::HeightForRows(int rows) const {
    // The rows fit the view below the header, so no vertical scrollbar is needed for them.
    const int rowsHeight = skin::RowsContentHeight(rows, MeasuredLineHeight() * m_linesPerItem);
    return kHeaderHeight + rowsHeight + kScrollInset + skin::kScrollbarWidth;
}

void CSkinListBox::PaintBody() {
    plat::DeviceContext& dc = m_backDC;
    const int pitch = Pitch();
    const plat::Rect body = BodyClip();
    dc.pushClip(body);
    const qint64 rowsBottom = qint64(kHeaderHeight) - m_scrollY + qint64(VisibleCount()) * pitch;
    const int gridBottom = static_cast<int>(qMin<qint64>(rowsBottom, m_height));
    int contentRight = -m_scrollX;
    for (const CSkinListBox_Column& c : m_columns) {
        if (c.groupRole != CSkinListBox_Column::kGroupHead) {
            VLine(dc, ColumnRight(c), kHeaderHeight, gridBottom, kGridLine);
            contentRight = ColumnRight(c);
        }
    }
    const skin::RowRange rows = skin::PaintedRows(VisibleCount(), m_scrollY, kHeaderHeight, pitch, m_height);
    std::size_t used = 0;
    for (qint64 r = rows.first; r < rows.end; ++r, ++used) {
        if (used == m_lines.size())
            m_lines.emplace_back();
        CSkinListBox_Line& line = m_lines[used];
        const int y = static_cast<int>(kHeaderHeight - m_scrollY + r * pitch);
        InitLine(static_cast<int>(r), m_scrollX, y, line);
        GetItemText(line);
        DrawLine(static_cast<int>(used));
        HLine(dc, -m_scrollX, contentRight + 1, y + pitch, kGridLine);
    }
    m_lines.resize(used);
    if (m_hoverLine >= static_cast<int>(used)) {
        m_hoverLine = -1;
        m_hoverCell = -1;
    }
    dc.popClip();
}

void CSkinListBox::DrawLine(int lineIndex) {
    if (lineIndex < 0 || static_cast<std::size_t>(lineIndex) >= m_lines.size() || !m_pDlg)
        return;
    plat::DeviceContext& dc = m_backDC;
    const CSkinListBox_Line& line = m_lines[static_cast<std::size_t>(lineIndex)];
    const int pitch = Pitch();
    dc.pushClip(BodyClip().intersected(plat::Rect{0, line.y + 1, m_width, line.y + pitch}));
    const plat::ColorRef background = lineIndex == m_hoverLine ? line.hoverBackground : line.background;
    for (const CSkinListBox_Column& c : m_columns) {
        if (c.groupRole == CSkinListBox_Column::kGroupHead)
            continue;
        dc.fillSolidRect(
            plat::Rect::fromXywh(c.x + 1 + line.x, line.y + 1, c.width + kColumnGap - 1, pitch - 1),
            c.emphasis ? Lighter(background, kEmphasisLift) : background);
    }
    for (std::size_t k = 0; k < line.cells.size(); ++k)
        DrawCell(line, lineIndex, static_cast<int>(k));
    dc.popClip();
}

plat::Rect CSkinListBox::CellTextRect(const CSkinListBox_Line& line, const CSkinListBox_Item& cell) const {
    const CSkinListBox_Column& column = m_columns[static_cast<std::size_t>(cell.firstColumn)];
    const int base = column.x + kCellInset + line.x;
    plat::Rect r = cell.rect.translated(base, line.y + 1);
    if (cell.firstColumn == cell.lastColumn) {
        const int textWidth = r.width();
        if (cell.align == 2)
            r.left = base + (cell.width - textWidth) / 2;
        else if (cell.align == 3)
            r.left = base + cell.width - textWidth;
        r.right = qMin(r.left + textWidth, base + cell.width);
    }
    return r;
}

void CSkinListBox::DrawCell(const CSkinListBox_Line& line, int lineIndex, int cellIndex) {
    plat::DeviceContext& dc = m_backDC;
    const CSkinListBox_Item& cell = line.cells[static_cast<std::size_t>(cellIndex)];
    if (cell.firstColumn < 0 || static_cast<std::size_t>(cell.lastColumn) >= m_columns.size())
        return;
    const CSkinListBox_Column& column = m_columns[static_cast<std::size_t>(cell.firstColumn)];
    const int pitch = Pitch();
    const int base = column.x + kCellInset + line.x;
    const int spanLeft = column.x + 1 + line.x;
    const plat::Rect span =
        plat::Rect::fromXywh(spanLeft, line.y + 1, cell.width + kColumnGap - 1, pitch - 1);
    if (cell.firstColumn != cell.lastColumn) {
        const plat::ColorRef background = lineIndex == m_hoverLine ? line.hoverBackground : line.background;
        dc.fillSolidRect(span, column.emphasis ? SpanEmphasis(background) : background);
    }
    const plat::Rect r = CellTextRect(line, cell);
    const plat::ColorRef color = cell.color == CSkinListBox_Item::kLineColor ? line.textColor : cell.color;
    const bool hovered = lineIndex == m_hoverLine && cellIndex == m_hoverCell;
    const bool pressed = hovered && lineIndex == m_pressLine && cellIndex == m_pressCell;
    const plat::DeviceContext* atlas = m_pAtlasDC;
    // Cell content from its start to the end of its column (or span).
    const plat::Rect content{base + cell.rect.left, line.y + 1, base + cell.width, line.y + pitch};
    // Engine markers stand out of their cell; everything else stays inside its column.
    const bool marker = cell.kind >= CSkinListBox_Item::kEngine1 && cell.kind <= CSkinListBox_Item::kEngine3;
    dc.pushClip(marker ? dc.clipBox() : span);
    dc.selectFont(&CellFont());
    dc.setTextColor(color);
    if (cell.firstColumn == cell.lastColumn && column.highlight && !m_highlightWords.isEmpty() &&
        ShowsPlainText(cell.kind))
        DrawHighlights(cell, r, cell.kind == CSkinListBox_Item::kSmallText ? SmallFont() : CellFont());
    switch (cell.kind) {
    case CSkinListBox_Item::kSmallText: {
        dc.selectFont(&SmallFont());
        plat::Rect t = r;
        dc.drawText(cell.text, t, kCellTextFormat);
        break;
    }
    case CSkinListBox_Item::kMarkup:
        m_pDlg->DrawListMarkupText(dc, cell.text, r.left, r.top, base + cell.width, r.bottom, color);
        break;
    case CSkinListBox_Item::kBar:
    case CSkinListBox_Item::kBarOther:
    case CSkinListBox_Item::kBarPlain: {
        if (!atlas)
            break;
        const pieces::BarPieces& bar = pieces::kBars[cell.kind == CSkinListBox_Item::kBarOther ? 1 : 0];
        const int width = content.width();
        const int top = line.y + 1 + (pitch - 1 - kBarHeight) / 2;
        const int track = qMax(0, width - 2 * kBarCap);
        auto piece = [&](const plat::Rect& src, int x, int w) {
            skin::StretchPiece(dc, plat::Rect::fromXywh(x, top, w, kBarHeight), *atlas, src);
        };
        const skin::BarValue value = skin::ParseBarText(cell.text);
        piece(bar.start, content.left, kBarCap);
        piece(bar.track, content.left + kBarCap, track);
        piece(bar.end, content.left + kBarCap + track, kBarCap);
        piece(bar.fill, content.left + kBarCap, skin::BarFillWidth(track, value));
        if (cell.kind != CSkinListBox_Item::kBarPlain) {
            plat::Rect t{content.left, top, content.left + width, top + kBarHeight};
            dc.selectFont(&SmallFont());
            dc.drawText(skin::BarLabel(value), t, plat::kTextCenter | kCellTextFormat);
        }
        break;
    }
    case CSkinListBox_Item::kLink:
    case CSkinListBox_Item::kLinkAlways: {
        const bool always = cell.kind == CSkinListBox_Item::kLinkAlways;
        plat::ColorRef ink = color;
        plat::ColorRef underline = plat::kInvalidColor;
        if (always) {
            ink = pressed ? kLinkPressed : kLinkColor;
            underline = pressed ? kLinkPressed : kTitleColor;
        } else if (hovered) {
            ink = kLinkColor;
            underline = kLinkUnderline;
        }
        dc.setTextColor(ink);
        plat::Rect t = r;
        dc.drawText(cell.text, t, kCellTextFormat);
        if (underline != plat::kInvalidColor)
            HLine(dc, r.left, r.right, r.bottom - 2, underline);
        break;
    }
    case CSkinListBox_Item::kCheck: {
        if (!atlas)
            break;
        const int size = qMax(1, m_lineHeight - 2);
        const plat::Rect dst = plat::Rect::fromXywh(base + (cell.width - size) / 2,
                                                    line.y + 1 + (pitch - 1 - size) / 2, size, size);
        m_keyed.Draw(dc, dst, *atlas, cell.text.isEmpty() ? pieces::kCheckOff : pieces::kCheckOn);
        break;
    }
    case CSkinListBox_Item::kIcon:
        if (atlas) {
            m_keyed.Draw(
                dc,
                plat::Rect::fromXywh(r.left, r.top, pieces::kCellIcon.width(), pieces::kCellIcon.height()),
                *atlas, pieces::kCellIcon);
        }
        break;
    case CSkinListBox_Item::kButton: {
        if (!atlas)
            break;
        const int top = line.y + 1 + (pitch - 1 - kButtonFaceHeight) / 2;
        auto piece = [&](const plat::Rect& src, int x, int w) {
            skin::StretchPiece(dc, plat::Rect::fromXywh(x, top, w, kButtonFaceHeight), *atlas, src);
        };
        const int edge = pieces::kButtonLeft.width();
        piece(pieces::kButtonLeft, content.left, edge);
        piece(pieces::kButtonMiddle, content.left + edge, content.width() - 2 * edge);
        piece(pieces::kButtonRight, content.right - edge, edge);
        if (!cell.text.isEmpty()) {
            m_keyed.Draw(
                dc,
                plat::Rect::fromXywh(content.left + (content.width() - pieces::kButtonIcon.width()) / 2,
                                     top + (kButtonFaceHeight - pieces::kButtonIcon.height()) / 2,
                                     pieces::kButtonIcon.width(), pieces::kButtonIcon.height()),
                *atlas, pieces::kButtonIcon);
        }
        break;
    }
    case CSkinListBox_Item::kMiniChart: {
        const std::array<int, 12> values = skin::ParseChartValues(cell.text);
        const int height = content.height();
        for (int i = 0; i < kChartColumns; ++i) {
            const int x1 = content.left + content.width() * i / kChartColumns;
            const int x2 = content.left + content.width() * (i + 1) / kChartColumns;
            const int barHeight = height * values[static_cast<std::size_t>(i)] / 100;
            if (barHeight <= 0 || x2 <= x1)
                continue;
            const plat::Rect bar{x1, content.bottom - barHeight, x2, content.bottom};
            dc.fillSolidRect(bar, kChartFill);
            HLine(dc, bar.left, bar.right, bar.top, kChartLight);
            VLine(dc, bar.left, bar.top, bar.bottom, kChartLight);
            HLine(dc, bar.left, bar.right, bar.bottom - 1, kChartDark);
            VLine(dc, bar.right - 1, bar.top, bar.bottom, kChartDark);
        }
        break;
    }
    case CSkinListBox_Item::kEngine1:
    case CSkinListBox_Item::kEngine2:
    case CSkinListBox_Item::kEngine3:
        if (atlas) {
            const plat::Rect& src = pieces::kEngines[cell.kind - CSkinListBox_Item::kEngine1];
            m_keyed.Draw(dc,
                         plat::Rect::fromXywh(r.left + kEngineOffset.x, r.top + kEngineOffset.y, src.width(),
                                              src.height()),
                         *atlas, src);
        }
        break;
    default: {
        plat::Rect t = r;
        dc.drawText(cell.text, t, kCellTextFormat);
        break;
    }
    }
    // The next line's cells are measured in the back buffer's font.
    dc.selectFont(&CellFont());
    dc.popClip();
}

void CSkinListBox::DrawHighlights(const CSkinListBox_Item& cell, const plat::Rect& textRect,
                                  const plat::Font& font) {
    const QString text = HighlightForm(cell.text);
    std::vector<std::pair<qsizetype, qsizetype>> found; // start and length
    for (const QString& highlightWord : m_highlightWords) {
        const QString word = HighlightForm(highlightWord).trimmed();
        if (word.isEmpty())
            continue;
        qsizetype at = text.indexOf(word);
        // Only a cell that holds every word is marked.
        if (at < 0)
            return;
        for (; at >= 0; at = text.indexOf(word, at + word.size()))
            found.emplace_back(at, word.size());
    }
    for (const auto& [at, length] : found) {
        const int left = textRect.left + font.textExtent(cell.text.left(at)).cx;
        const int right = textRect.left + font.textExtent(cell.text.left(at + length)).cx;
        if (left < textRect.right)
            m_backDC.fillSolidRect(
                plat::Rect{left, textRect.top, qMin(right, textRect.right), textRect.bottom}, kHighlightBox);
    }
}

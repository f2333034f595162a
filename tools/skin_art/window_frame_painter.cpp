#include "tools/skin_art/atlas_sections.h"
#include "tools/skin_art/paint_kit.h"
#include "tools/skin_art/palette.h"
#include "tools/skin_art/pictograms.h"

namespace skin_art {

namespace {

constexpr int kTitleHeight = 28;
constexpr int kCaptionButtonTop = 4; // where the dialog places its caption buttons on the title bar

// One colour per title-bar row: a soft top light fading into the border blue at the bottom.
QRgb TitleRow(int y) {
    if (y == 0)
        return qRgb(70, 150, 210);
    const auto lerp = [y](int from, int to) { return from + (to - from) * (y - 1) / (kTitleHeight - 2); };
    return qRgb(lerp(qRed(palette::kTitleTop), qRed(palette::kAccent)),
                lerp(qGreen(palette::kTitleTop), qGreen(palette::kAccent)),
                lerp(qBlue(palette::kTitleTop), qBlue(palette::kAccent)));
}

// A picture that sits on the title bar starting at row `top`: it carries the bar's rows behind it.
QImage OnTitleBar(QSize size, int top, const DrawFn& draw) {
    QImage out(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            out.setPixel(x, y, TitleRow(top + y));
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    return out;
}

enum class Caption { Minimize, Maximize, Restore, Close };

void CaptionGlyph(QPainter& p, Caption which) {
    const QRgb white = palette::kPaper;
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(white));
    switch (which) {
    case Caption::Minimize:
        p.drawRect(6, 13, 9, 2);
        break;
    case Caption::Maximize:
        p.drawRect(6, 6, 9, 2);
        p.drawRect(6, 8, 1, 7);
        p.drawRect(14, 8, 1, 7);
        p.drawRect(6, 14, 9, 1);
        break;
    case Caption::Restore:
        p.drawRect(8, 5, 8, 2);
        p.drawRect(15, 7, 1, 6);
        p.drawRect(14, 12, 1, 1);
        p.drawRect(5, 8, 8, 2);
        p.drawRect(5, 10, 1, 6);
        p.drawRect(12, 10, 1, 6);
        p.drawRect(5, 15, 8, 1);
        p.drawRect(8, 7, 1, 1);
        break;
    case Caption::Close:
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(RoundPen(white, 1.6));
        p.drawLine(QPointF(6.5, 6.5), QPointF(14.5, 14.5));
        p.drawLine(QPointF(14.5, 6.5), QPointF(6.5, 14.5));
        break;
    }
}

QImage PaintCaptionButton(Caption which, bool hot) {
    return OnTitleBar(
        {21, 21}, kCaptionButtonTop,
        [which, hot](QPainter& p) {
            if (hot) {
                const bool close = which == Caption::Close;
                p.setPen(Qt::NoPen);
                p.setBrush(close ? QColor::fromRgb(palette::kDanger) : QColor(255, 255, 255, 46));
                p.drawRoundedRect(QRectF(1, 1, 19, 19), 3, 3);
                p.setBrush(Qt::NoBrush);
                p.setPen(HairPen(close ? QColor(222, 120, 112) : QColor(255, 255, 255, 90)));
                p.drawRoundedRect(QRectF(1.5, 1.5, 18, 18), 2.5, 2.5);
            }
            CaptionGlyph(p, which);
        });
}

// A corner of the 3-px window border; `right` mirrors it for the bottom-right corner.
QImage BorderCorner(bool right) {
    QImage out(6, 6, QImage::Format_RGB32);
    out.fill(palette::kAccent);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            out.setPixel(right ? x : x + 3, y, palette::kClient);
    return out;
}

} // namespace

void PaintWindowFrame(QImage& atlas) {
    const AtlasPiece& bar = PieceByName("title.bar");
    Place(atlas, bar, OnTitleBar({bar.width, bar.height}, 0, [](QPainter&) {}));

    // The window icon: a white lens on the bar.
    Place(atlas, PieceByName("title.icon"), OnTitleBar({18, 14}, 7, [](QPainter& p) {
              DrawMagnifier(p, QPointF(7, 6), 3.8, 1.7, palette::kPaper);
          }));

    Place(atlas, PieceByName("frame.cornerBottomLeft"), BorderCorner(false));
    Place(atlas, PieceByName("frame.cornerBottomRight"), BorderCorner(true));

    Place(atlas, PieceByName("caption.minimize.normal"), PaintCaptionButton(Caption::Minimize, false));
    Place(atlas, PieceByName("caption.minimize.hot"), PaintCaptionButton(Caption::Minimize, true));
    Place(atlas, PieceByName("caption.maximize.normal"), PaintCaptionButton(Caption::Maximize, false));
    Place(atlas, PieceByName("caption.maximize.hot"), PaintCaptionButton(Caption::Maximize, true));
    Place(atlas, PieceByName("caption.restore.normal"), PaintCaptionButton(Caption::Restore, false));
    Place(atlas, PieceByName("caption.restore.hot"), PaintCaptionButton(Caption::Restore, true));
    Place(atlas, PieceByName("caption.close.normal"), PaintCaptionButton(Caption::Close, false));
    Place(atlas, PieceByName("caption.close.hot"), PaintCaptionButton(Caption::Close, true));
}

} // namespace skin_art

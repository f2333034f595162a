#include "tools/skin_art/atlas_sections.h"
#include "tools/skin_art/paint_kit.h"
#include "tools/skin_art/palette.h"

#include <QPainterPath>

namespace skin_art {

namespace {

constexpr QSize kIcon(32, 32);

// A calendar sheet with a rising line over it: dates on one side, values on the other.
QImage ModeIcon() {
    return PaintOpaque(
        kIcon, palette::kPaper,
        [](QPainter& p) {
            Panel(p, QRect(5, 7, 22, 20), 2.5, QColor::fromRgb(palette::kPaper), palette::kAccent);
            p.fillRect(QRect(5, 7, 22, 5), QColor::fromRgb(palette::kAccent));
            p.setPen(RoundPen(palette::kAccent, 2));
            p.drawLine(QPointF(10, 5), QPointF(10, 9));
            p.drawLine(QPointF(22, 5), QPointF(22, 9));
            QPainterPath rise;
            rise.moveTo(8.5, 23.5);
            rise.lineTo(13.5, 18.5);
            rise.lineTo(17.5, 21);
            rise.lineTo(23.5, 15);
            p.setPen(RoundPen(palette::kSecondData, 2));
            p.setBrush(Qt::NoBrush);
            p.drawPath(rise);
        });
}

// A span between two end bars whose width and number of points grow with the range (1 to 5).
QImage RangeIcon(int step) {
    return PaintOpaque(
        kIcon, palette::kPaper,
        [step](QPainter& p) {
            const qreal half = 3 + 2.4 * step;
            const qreal left = 16 - half;
            const qreal right = 16 + half;
            p.setPen(RoundPen(palette::kAccent, 2));
            p.drawLine(QPointF(left, 8), QPointF(left, 16));
            p.drawLine(QPointF(right, 8), QPointF(right, 16));
            p.setPen(RoundPen(palette::kAccentLine, 1.6));
            p.drawLine(QPointF(left + 2, 12), QPointF(right - 2, 12));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor::fromRgb(palette::kAccent));
            for (int i = 0; i < step; ++i) {
                const qreal x = step == 1 ? 16 : left + 1 + (right - left - 2) * i / (step - 1);
                p.drawEllipse(QPointF(x, 22), 1.8, 1.8);
            }
        });
}

} // namespace

void PaintGraphIcons(QImage& atlas) {
    Place(atlas, PieceByName("graph.mode"), ModeIcon());
    Place(atlas, PieceByName("graph.range1"), RangeIcon(1));
    Place(atlas, PieceByName("graph.range2"), RangeIcon(2));
    Place(atlas, PieceByName("graph.range3"), RangeIcon(3));
    Place(atlas, PieceByName("graph.range4"), RangeIcon(4));
    Place(atlas, PieceByName("graph.range5"), RangeIcon(5));
}

} // namespace skin_art

#include "tools/skin_art/atlas_sections.h"
#include "tools/skin_art/paint_kit.h"
#include "tools/skin_art/palette.h"

namespace skin_art {

namespace {

enum class Card { Normal, Hot, Pressed, Chosen };

// A card with a soft 6-px rounding whose shading stays inside its 17-px edge rows, so the middle stretches
// to any size as one colour.
QImage ProjectCard(Card look) {
    const QSize size(51, 52);
    return PaintOpaque(size, palette::kCanvas, [=](QPainter& p) {
        const QRect r(0, 0, size.width(), size.height());
        QRgb top = palette::kFaceTop;
        QRgb middle = palette::kFace;
        QRgb border = palette::kLine;
        switch (look) {
        case Card::Normal:
            break;
        case Card::Hot:
            top = qRgb(251, 253, 255);
            middle = palette::kAccentWash;
            border = palette::kAccentLine;
            break;
        case Card::Pressed:
            top = qRgb(196, 219, 239);
            middle = palette::kAccentTint;
            border = palette::kAccent;
            break;
        case Card::Chosen:
            top = palette::kAccentWash;
            middle = palette::kAccentWash;
            border = palette::kAccent;
            break;
        }
        QLinearGradient shade(0, 0, 0, size.height());
        shade.setColorAt(0, QColor::fromRgb(top));
        shade.setColorAt(17.0 / size.height(), QColor::fromRgb(middle));
        shade.setColorAt(1, QColor::fromRgb(middle));
        Panel(p, r, 6, shade, border);
        if (look == Card::Chosen) {
            // A second accent line inside the first: the chosen card reads at a glance.
            p.setPen(HairPen(palette::kAccent));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(r).adjusted(1.5, 1.5, -1.5, -1.5), 5, 5);
        }
    });
}

} // namespace

void PaintProjectButtons(QImage& atlas) {
    Place(atlas, PieceByName("prjButton.normal"), ProjectCard(Card::Normal));
    Place(atlas, PieceByName("prjButton.hot"), ProjectCard(Card::Hot));
    Place(atlas, PieceByName("prjButton.pressed"), ProjectCard(Card::Pressed));
    Place(atlas, PieceByName("prjButton.chosen"), ProjectCard(Card::Chosen));
}

} // namespace skin_art

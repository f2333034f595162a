#include "tools/skin_art/toolbar_painter.h"

#include "resources/toolbar_layout.h"
#include "tools/skin_art/paint_kit.h"
#include "tools/skin_art/palette.h"
#include "tools/skin_art/pictograms.h"

namespace skin_art {

namespace {

constexpr int kPictogram = 24;

// The button's back never changes, so the cell carries the state: a pale tile when hot, a tinted one when
// pressed.
QImage Cell(ToolbarIcon icon, ToolbarRow row) {
    return PaintKeyed(
        {kToolbarCell, kToolbarCell}, palette::kToolbarBand,
        [=](QPainter& p) {
            const QRect tile(1, 1, kToolbarCell - 2, kToolbarCell - 2);
            if (row == ToolbarRow::Hot)
                Panel(p, tile, 5, QColor::fromRgb(palette::kAccentWash), palette::kAccentLine);
            else if (row == ToolbarRow::Pressed)
                Panel(p, tile, 5, QColor::fromRgb(palette::kAccentTint), palette::kAccent);
            const qreal inset = (kToolbarCell - kPictogram) / 2.0;
            DrawToolbarPictogram(p, icon, QPointF(inset, inset), palette::kAccent, palette::kPaper);
        });
}

} // namespace

QImage PaintToolbar() {
    QImage sheet(kToolbarWidth, kToolbarHeight, QImage::Format_RGB32);
    for (int column = 0; column < kToolbarColumns; ++column) {
        for (int row = 0; row < kToolbarRows; ++row) {
            Place(sheet, {column * kToolbarCell, row * kToolbarCell},
                  Cell(static_cast<ToolbarIcon>(column), static_cast<ToolbarRow>(row)));
        }
    }
    return sheet;
}

} // namespace skin_art

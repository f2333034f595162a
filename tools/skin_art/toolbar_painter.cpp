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
QImage cell(ToolbarIcon icon, ToolbarRow row) {
    return paintKeyed({kToolbarCell, kToolbarCell}, palette::kToolbarBand, [=](QPainter& p) {
        const QRect tile(1, 1, kToolbarCell - 2, kToolbarCell - 2);
        if (row == ToolbarRow::Hot) {
            panel(p, tile, 5, QColor::fromRgb(palette::kAccentWash), palette::kAccentLine);
        } else if (row == ToolbarRow::Pressed) {
            panel(p, tile, 5, QColor::fromRgb(palette::kAccentTint), palette::kAccent);
        }
        const qreal inset = (kToolbarCell - kPictogram) / 2.0;
        drawToolbarPictogram(p, icon, QPointF(inset, inset), palette::kAccent, palette::kPaper);
    });
}

} // namespace

QImage paintToolbar() {
    QImage sheet(kToolbarWidth, kToolbarHeight, QImage::Format_RGB32);
    for (int column = 0; column < kToolbarColumns; ++column) {
        for (int row = 0; row < kToolbarRows; ++row) {
            place(sheet, {column * kToolbarCell, row * kToolbarCell},
                  cell(static_cast<ToolbarIcon>(column), static_cast<ToolbarRow>(row)));
        }
    }
    return sheet;
}

} // namespace skin_art

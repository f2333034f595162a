#include "tools/skin_art/atlas_sections.h"
#include "tools/skin_art/paint_kit.h"
#include "tools/skin_art/palette.h"

namespace skin_art {

// One rounded 1-px outline around white, cut by the drawing code into three or nine pieces: the outline
// sits one pixel in, where a framed container's surface (4 px in) never covers it.
void PaintElementFrame(QImage& atlas) {
    const QRect bounds = ImageBounds("frame");
    const QImage frame = PaintOpaque(bounds.size(), palette::kCanvas, [&bounds](QPainter& p) {
        Panel(p, QRect(1, 1, bounds.width() - 2, bounds.height() - 2), 3.5, QColor::fromRgb(palette::kPaper),
              palette::kLine);
    });
    Place(atlas, bounds.topLeft(), frame);
}

} // namespace skin_art

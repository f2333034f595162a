#include "tools/skin_art/app_icon_painter.h"

#include "tools/skin_art/pictograms.h"

#include <QPainter>

namespace skin_art {

QImage PaintAppIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    // Small sizes fill their square: a margin there would only blur the edge.
    const qreal margin = size >= 48 ? size / 16.0 : 0.0;
    DrawEmblem(p, QRectF(margin, margin, size - 2 * margin, size - 2 * margin), size >= 32);
    p.end();
    return icon.convertToFormat(QImage::Format_ARGB32);
}

} // namespace skin_art

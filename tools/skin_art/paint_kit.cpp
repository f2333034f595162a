#include "tools/skin_art/paint_kit.h"

namespace skin_art {

namespace {

constexpr int kKeyedCoverage = 102; // 40 % of 255

QImage DrawLayer(QSize size, const DrawFn& draw) {
    QImage layer(size, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter p(&layer);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    draw(p);
    return layer;
}

// Source-over of a premultiplied pixel onto an opaque colour.
QRgb Over(QRgb premultiplied, QRgb matte) {
    const int a = qAlpha(premultiplied);
    const auto mix = [a](int source, int back) { return source + (back * (255 - a) + 127) / 255; };
    return qRgb(mix(qRed(premultiplied), qRed(matte)), mix(qGreen(premultiplied), qGreen(matte)),
                mix(qBlue(premultiplied), qBlue(matte)));
}

QImage Flatten(const QImage& layer, QRgb matte, bool keyed) {
    QImage out(layer.size(), QImage::Format_RGB32);
    const QRgb key = 0xFF000000u | kKeyColour;
    for (int y = 0; y < layer.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < layer.width(); ++x)
            dst[x] = keyed && qAlpha(src[x]) < kKeyedCoverage ? key : Over(src[x], matte);
    }
    return out;
}

QRect PieceRect(const AtlasPiece& piece) {
    return {piece.x, piece.y, piece.width, piece.height};
}

// A rectangle whose outline, stroked with a 1-px pen, lands exactly on the pixels along r's border.
QRectF Hairline(const QRect& r) {
    return QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
}

} // namespace

QImage PaintOpaque(QSize size, QRgb matte, const DrawFn& draw) {
    return Flatten(DrawLayer(size, draw), matte, false);
}

QImage PaintKeyed(QSize size, QRgb matte, const DrawFn& draw) {
    return Flatten(DrawLayer(size, draw), matte, true);
}

QRect ImageBounds(std::string_view image) {
    QRect bounds;
    for (const AtlasPiece& piece : kAtlasPieces)
        if (piece.image == image)
            bounds |= PieceRect(piece);
    return bounds;
}

void Place(QImage& atlas, QPoint at, const QImage& picture) {
    QPainter p(&atlas);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(at, picture);
}

void Place(QImage& atlas, const AtlasPiece& piece, const QImage& picture) {
    Q_ASSERT(picture.size() == QSize(piece.width, piece.height));
    Place(atlas, {piece.x, piece.y}, picture);
}

QPen HairPen(const QColor& colour) {
    QPen pen{colour, 1.0};
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

QPen RoundPen(const QColor& colour, qreal width) {
    return QPen{colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin};
}

QLinearGradient VerticalGradient(int top, int bottom, QRgb from, QRgb to) {
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, QColor::fromRgb(from));
    g.setColorAt(1, QColor::fromRgb(to));
    return g;
}

void Panel(QPainter& p, const QRect& r, qreal radius, const QBrush& fill, QRgb border) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(r), radius, radius);
    p.setBrush(Qt::NoBrush);
    p.setPen(HairPen(border));
    p.drawRoundedRect(Hairline(r), radius - 0.5, radius - 0.5);
    p.restore();
}

} // namespace skin_art

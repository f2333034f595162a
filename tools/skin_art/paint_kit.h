#pragma once

// Small drawing helpers shared by every painter of the skin art: layers that become opaque or keyed
// pictures, crisp 1-px outlines and rounded panels.

#include "resources/atlas_layout.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QRgb>
#include <functional>
#include <string_view>

namespace skin_art {

using DrawFn = std::function<void(QPainter&)>;

// Draws antialiased on transparency and lays the result over `matte`: an opaque picture for plain copies.
QImage PaintOpaque(QSize size, QRgb matte, const DrawFn& draw);

// Draws antialiased on transparency for a keyed copy: pixels covered at least 40 % become opaque, blended
// over `matte` (the colour the picture usually lands on), the rest become the key colour. A hard cut keeps
// magenta fringes out of the edges.
QImage PaintKeyed(QSize size, QRgb matte, const DrawFn& draw);

// The rectangle covering every piece of one picture of the atlas.
QRect ImageBounds(std::string_view image);

// Copies a picture into the atlas at `at`, or at a piece's place (the picture has the piece's size).
void Place(QImage& atlas, QPoint at, const QImage& picture);
void Place(QImage& atlas, const AtlasPiece& piece, const QImage& picture);

QPen HairPen(const QColor& colour);
QPen RoundPen(const QColor& colour, qreal width);
QLinearGradient VerticalGradient(int top, int bottom, QRgb from, QRgb to);

// A rounded panel: `fill` inside, a crisp 1-px `border` along the edge of r.
void Panel(QPainter& p, const QRect& r, qreal radius, const QBrush& fill, QRgb border);

} // namespace skin_art

#pragma once

// The shipped skin art, read once from the embedded resources, with a few pixel helpers.

#include "resources/atlas_layout.h"

#include <QImage>
#include <QRect>

QImage loadShipped(const QString& path); // converted to 32-bit RGB(A); null when missing
const QImage& shippedAtlas();

inline bool isKey(QRgb pixel) {
    return (pixel & 0xFFFFFFu) == skin_art::kKeyColour;
}

inline QRect rectOf(const skin_art::AtlasPiece& piece) {
    return {piece.x, piece.y, piece.width, piece.height};
}

// Pixel for pixel equal; b is read at a's size.
inline bool samePixels(const QImage& image, const QRect& a, const QRect& b) {
    return image.copy(a) == image.copy(QRect(b.topLeft(), a.size()));
}
int keyPixels(const QImage& image, const QRect& r);
bool cornersKeyed(const QImage& image, const QRect& r);

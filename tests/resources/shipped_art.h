#pragma once

// The shipped skin art, read once from the embedded resources, with a few pixel helpers.

#include "resources/atlas_layout.h"

#include <QImage>
#include <QRect>

QImage LoadShipped(const QString& path); // converted to 32-bit RGB(A); null when missing
const QImage& ShippedAtlasImage();

inline bool IsKey(QRgb pixel) {
    return (pixel & 0xFFFFFFu) == skin_art::kKeyColour;
}

inline QRect RectOf(const skin_art::AtlasPiece& piece) {
    return {piece.x, piece.y, piece.width, piece.height};
}

// Pixel for pixel equal; b is read at a's size.
inline bool SamePixels(const QImage& image, const QRect& a, const QRect& b) {
    return image.copy(a) == image.copy(QRect(b.topLeft(), a.size()));
}
int KeyPixels(const QImage& image, const QRect& r);
bool CornersKeyed(const QImage& image, const QRect& r);

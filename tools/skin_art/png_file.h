#pragma once

#include <QString>

class QImage;

namespace skin_art {

// Writes the image as an 8-bit RGB PNG, or RGBA when it has an alpha channel. Rows are stored unfiltered:
// the art is mostly flat colour that compresses well either way, and unfiltered rows decode about twice as
// fast, which the program's start-up pays for with every picture it loads.
bool WritePng(const QImage& image, const QString& path);

} // namespace skin_art

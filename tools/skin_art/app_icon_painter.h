#pragma once

#include <QImage>

namespace skin_art {

// The application icon at `size` x `size` pixels, transparent around the emblem.
QImage PaintAppIcon(int size);

} // namespace skin_art

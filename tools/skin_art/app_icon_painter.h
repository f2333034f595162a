#pragma once

#include <QImage>

namespace skin_art {

// The application icon at `size` x `size` pixels, transparent around the emblem.
QImage paintAppIcon(int size);

} // namespace skin_art

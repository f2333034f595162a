#pragma once

#include <QImage>

namespace skin_art {

// The toolbar sprites: a pictogram per button in each of the three state rows, keyed around it.
QImage PaintToolbar();

} // namespace skin_art

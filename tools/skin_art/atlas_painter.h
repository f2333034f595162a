#pragma once

#include <QImage>

namespace skin_art {

// The whole skin atlas: every piece of the layout table painted at its place, the key colour everywhere else.
QImage PaintAtlas();

} // namespace skin_art

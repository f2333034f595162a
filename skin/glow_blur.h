#pragma once

#include <QByteArray>

// The soft halo behind glow text: a grey plane blurred twelve times with a 3 x 3 kernel and lifted by a
// gamma curve. The plane is sized to the text on every call, so no text is too large for it.

namespace skin {

// plane holds width x height grey values (row-major); the result has the same size.
QByteArray BlurGlowPlane(const QByteArray& plane, int width, int height);

} // namespace skin

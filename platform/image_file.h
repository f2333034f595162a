#pragma once

class QImage;
class QString;

namespace plat {

// Reads a picture from a file or a Qt resource; a null image when it cannot be read. PNG goes straight to
// Qt's own reader: finding the reader by asking every image plugin first loads them all, which the start-up
// would pay for with its first picture.
QImage ReadImageFile(const QString& path);

} // namespace plat

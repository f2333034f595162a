#include "platform/image_file.h"

#include <QFile>
#include <QImage>
#include <QImageReader>

namespace plat {

QImage ReadImageFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    static constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";
    const bool png = file.peek(8) == QByteArray(kPngSignature, 8);
    QImageReader reader(&file, png ? QByteArray("png") : QByteArray());
    reader.setAutoDetectImageFormat(!png);
    return reader.read();
}

} // namespace plat

#include "tests/resources/shipped_art.h"

#include "resources/skin_resources.h"

QImage loadShipped(const QString& path) {
    const QImage image(path);
    return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32);
}

const QImage& shippedAtlas() {
    static const QImage atlas = loadShipped(skin_resources::atlasPath());
    return atlas;
}

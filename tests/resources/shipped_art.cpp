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

int keyPixels(const QImage& image, const QRect& r) {
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            count += isKey(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return count;
}

bool cornersKeyed(const QImage& image, const QRect& r) {
    return isKey(image.pixel(r.topLeft())) && isKey(image.pixel(r.topRight())) &&
           isKey(image.pixel(r.bottomLeft())) && isKey(image.pixel(r.bottomRight()));
}

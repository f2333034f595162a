#include "tests/resources/shipped_art.h"

#include "resources/skin_resources.h"

QImage LoadShipped(const QString& path) {
    const QImage image(path);
    return image.isNull() ? image : image.convertToFormat(QImage::Format_ARGB32);
}

const QImage& ShippedAtlasImage() {
    static const QImage kAtlas = LoadShipped(skin_resources::AtlasPath());
    return kAtlas;
}

int KeyPixels(const QImage& image, const QRect& r) {
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            count += IsKey(image.pixel(x, y)) ? 1 : 0;
    return count;
}

bool CornersKeyed(const QImage& image, const QRect& r) {
    return IsKey(image.pixel(r.topLeft())) && IsKey(image.pixel(r.topRight())) &&
           IsKey(image.pixel(r.bottomLeft())) && IsKey(image.pixel(r.bottomRight()));
}

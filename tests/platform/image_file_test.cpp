#include "platform/image_file.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Whatever a file holds, under whatever name, it reads as Qt's own reading of it.
TEST(ImageFile, ReadsLikeQtWhateverTheNameSays) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage opaque(37, 21, QImage::Format_RGB32);
    opaque.fill(qRgb(12, 200, 99));
    QImage translucent(19, 23, QImage::Format_ARGB32);
    translucent.fill(qRgba(250, 10, 40, 90));
    QPainter(&translucent).fillRect(3, 4, 5, 6, QColor(0, 0, 255, 200));
    const struct {
        const QImage& image;
        const char* format;
        QString name;
    } cases[] = {
        {opaque, "PNG", u"plain.png"_s},       {translucent, "PNG", u"alpha.png"_s},
        {opaque, "PNG", u"png named.jpg"_s},   {opaque, "JPEG", u"photo.jpg"_s},
        {opaque, "JPEG", u"jpeg named.png"_s}, {opaque, "BMP", u"no suffix"_s},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(c.name);
        ASSERT_TRUE(c.image.save(path, c.format)) << c.name.toStdString();
        const QImage read = plat::ReadImageFile(path);
        const QImage reference(path);
        ASSERT_FALSE(read.isNull()) << c.name.toStdString();
        EXPECT_EQ(read.format(), reference.format()) << c.name.toStdString();
        EXPECT_EQ(read, reference) << c.name.toStdString();
    }
    QFile broken(dir.filePath(u"broken.png"_s));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("\x89PNG\r\n\x1a\nnot really");
    broken.close();
    EXPECT_TRUE(plat::ReadImageFile(broken.fileName()).isNull());
    EXPECT_TRUE(plat::ReadImageFile(dir.filePath(u"missing.png"_s)).isNull());
}

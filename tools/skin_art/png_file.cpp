#include "tools/skin_art/png_file.h"

#include <QImage>
#include <QSaveFile>
#include <zlib.h>

namespace skin_art {

namespace {

void AppendBigEndian(QByteArray& out, quint32 value) {
    out.append(char(value >> 24)).append(char(value >> 16)).append(char(value >> 8)).append(char(value));
}

void AppendChunk(QByteArray& out, const char* type, const QByteArray& body) {
    AppendBigEndian(out, quint32(body.size()));
    const qsizetype start = out.size();
    out.append(type, 4).append(body);
    const auto* typed = reinterpret_cast<const Bytef*>(out.constData() + start);
    AppendBigEndian(out, quint32(crc32(crc32(0, nullptr, 0), typed, uInt(out.size() - start))));
}

} // namespace

bool WritePng(const QImage& image, const QString& path) {
    if (image.isNull())
        return false;
    const bool alpha = image.hasAlphaChannel();
    const QImage pixels = image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const int channels = alpha ? 4 : 3;
    QByteArray rows;
    rows.reserve(qsizetype(pixels.height()) * (1 + pixels.width() * channels));
    for (int y = 0; y < pixels.height(); ++y) {
        rows.append('\0'); // filter type None
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            rows.append(char(qRed(line[x]))).append(char(qGreen(line[x]))).append(char(qBlue(line[x])));
            if (alpha)
                rows.append(char(qAlpha(line[x])));
        }
    }
    QByteArray packed(qsizetype(compressBound(uLong(rows.size()))), Qt::Uninitialized);
    uLongf packedSize = uLongf(packed.size());
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                  reinterpret_cast<const Bytef*>(rows.constData()), uLong(rows.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return false;
    packed.truncate(qsizetype(packedSize));

    QByteArray header;
    AppendBigEndian(header, quint32(pixels.width()));
    AppendBigEndian(header, quint32(pixels.height()));
    header.append(char(8)).append(char(alpha ? 6 : 2)).append(3, '\0'); // depth, colour type, methods
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    AppendChunk(png, "IHDR", header);
    QByteArray density; // pixels per metre, as Qt's own writer keeps them
    AppendBigEndian(density, quint32(image.dotsPerMeterX()));
    AppendBigEndian(density, quint32(image.dotsPerMeterY()));
    density.append(char(1));
    AppendChunk(png, "pHYs", density);
    AppendChunk(png, "IDAT", packed);
    AppendChunk(png, "IEND", QByteArray());

    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(png) == png.size() && file.commit();
}

} // namespace skin_art

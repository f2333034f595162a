#include "skin/glow_text.h"

#include "skin/glow_blur.h"

#include <memory>

using namespace Qt::StringLiterals;

namespace skin {

namespace {

// Room the halo spreads into around the text.
constexpr int kPadLeft = 15;
constexpr int kPadTop = 10;
constexpr int kPadWidth = 35;
constexpr int kPadHeight = 20;

// The halo of text: drawn white, turned grey, blurred, and each value divided into the alpha of glowColor.
std::unique_ptr<plat::DeviceContext> MakeGlowLayer(const QString& text, plat::ColorRef glowColor,
                                                   const MarkupFonts& fonts, int divisor) {
    // The work area follows the text, however long.
    const plat::Size textSize = MeasureMarkup(text, fonts);
    const int w = textSize.cx + kPadWidth;
    const int h = textSize.cy + kPadHeight;
    auto glow = std::make_unique<plat::DeviceContext>(w, h);
    plat::DeviceContext work(w, h);
    DrawMarkup(work, text, kPadLeft, kPadTop, 0xFFFFFF, fonts);
    QByteArray plane(qsizetype(w) * h, '\0');
    for (int row = 0; row < h && !work.isNull(); ++row) {
        const std::uint32_t* line = work.scanLine(row);
        for (int col = 0; col < w; ++col) {
            const std::uint32_t p = line[col];
            plane[qsizetype(row) * w + col] = char((((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF)) / 3);
        }
    }
    const QByteArray blurred = BlurGlowPlane(plane, w, h);
    for (int row = 0; row < h && !glow->isNull(); ++row) {
        std::uint32_t* line = glow->scanLine(row);
        for (int col = 0; col < w; ++col) {
            const int alpha = quint8(blurred.at(qsizetype(row) * w + col)) / divisor;
            line[col] = plat::PremultipliedArgb(glowColor, alpha);
        }
    }
    return glow;
}

} // namespace

plat::Size DrawGlowMarkup(plat::DeviceContext& dc, const QString& text, int x, int y,
                          plat::ColorRef textColor, plat::ColorRef glowColor, const MarkupFonts& fonts,
                          int divisor, GlowTextCache& cache) {
    const int div = qMax(1, divisor);
    const QString key = u"%1|%2|%3|%4|%5|%6"_s.arg(glowColor)
                            .arg(div)
                            .arg(quintptr(fonts.normal), 0, 16)
                            .arg(quintptr(fonts.bold), 0, 16)
                            .arg(quintptr(fonts.sup), 0, 16)
                            .arg(text);
    const plat::DeviceContext* layer = cache.Find(key);
    if (!layer)
        layer = &cache.Insert(key, MakeGlowLayer(text, glowColor, fonts, div));
    if (!layer->isNull()) {
        dc.alphaBlend(x - kPadLeft, y - kPadTop, layer->width(), layer->height(), *layer, 0, 0,
                      layer->width(), layer->height(), 255, true);
    }
    return DrawMarkup(dc, text, x, y, textColor, fonts);
}

} // namespace skin

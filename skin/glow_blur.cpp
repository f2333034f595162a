#include "skin/glow_blur.h"

#include <array>
#include <cmath>

namespace skin {

namespace {

constexpr int kPasses = 12;

const std::array<quint8, 256>& GammaTable() {
    static const std::array<quint8, 256> kTable = [] {
        std::array<quint8, 256> t{};
        for (int i = 0; i < 256; ++i)
            t[i] = quint8(int(255.0 * std::pow(i / 255.0, 0.8)));
        return t;
    }();
    return kTable;
}

} // namespace

QByteArray BlurGlowPlane(const QByteArray& plane, int width, int height) {
    QByteArray a = plane;
    if (width < 3 || height < 3 || plane.size() < qsizetype(width) * height)
        return a;
    QByteArray b(a.size(), '\0');
    const auto& gamma = GammaTable();
    QByteArray* src = &a;
    QByteArray* dst = &b;
    for (int pass = 0; pass < kPasses; ++pass) {
        const auto* s = reinterpret_cast<const quint8*>(src->constData());
        auto* d = reinterpret_cast<quint8*>(dst->data());
        for (int y = 1; y < height - 1; ++y) {
            const quint8* up = s + qsizetype(y - 1) * width;
            const quint8* mid = up + width;
            const quint8* down = mid + width;
            quint8* out = d + qsizetype(y) * width;
            for (int x = 1; x < width - 1; ++x) {
                const int sum = up[x - 1] + 2 * up[x] + up[x + 1] + 2 * mid[x - 1] + 4 * mid[x] +
                                2 * mid[x + 1] + down[x - 1] + 2 * down[x] + down[x + 1];
                out[x] = gamma[qMin(255, sum / 16)];
            }
        }
        std::swap(src, dst);
    }
    return *src;
}

} // namespace skin

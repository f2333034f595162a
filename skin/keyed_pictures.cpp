#include "skin/keyed_pictures.h"

namespace skin {

void KeyedPictures::SetKey(plat::ColorRef key) {
    if (key != m_key) {
        m_key = key;
        m_pictures.clear();
    }
}

const plat::DeviceContext& KeyedPictures::Keyed(const plat::DeviceContext& atlas, const plat::Rect& src) {
    auto& slot = m_pictures[{&atlas, src.left, src.top, src.width(), src.height()}];
    if (!slot) {
        slot = std::make_unique<plat::DeviceContext>(src.width(), src.height());
        slot->bitBlt(0, 0, src.width(), src.height(), atlas, src.left, src.top);
        const std::uint32_t key = plat::PremultipliedArgb(m_key, 255);
        for (int y = 0; y < slot->height(); ++y) {
            std::uint32_t* line = slot->scanLine(y);
            for (int x = 0; x < slot->width(); ++x)
                if (line[x] == key)
                    line[x] = 0;
        }
    }
    return *slot;
}

void KeyedPictures::Draw(plat::DeviceContext& dc, const plat::Rect& dst, const plat::DeviceContext& atlas,
                         const plat::Rect& src) {
    if (dst.isEmpty() || src.isEmpty())
        return;
    const plat::DeviceContext& picture = Keyed(atlas, src);
    dc.alphaBlend(dst.left, dst.top, dst.width(), dst.height(), picture, 0, 0, src.width(), src.height(), 255,
                  true);
}

} // namespace skin

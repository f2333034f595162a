#pragma once

#include "platform/color.h"
#include "platform/device_context.h"
#include "platform/geometry.h"

#include <map>
#include <memory>
#include <tuple>

namespace skin {

// Atlas pictures drawn with their key colour transparent. The key is taken out before a picture is scaled,
// so smoothing never blends the key colour into the picture's edge; each picture is keyed once and kept.
class KeyedPictures {
  public:
    void SetKey(plat::ColorRef key);
    // Draws the atlas rectangle src into dst (scaled when the sizes differ).
    void Draw(plat::DeviceContext& dc, const plat::Rect& dst, const plat::DeviceContext& atlas,
              const plat::Rect& src);

  private:
    const plat::DeviceContext& Keyed(const plat::DeviceContext& atlas, const plat::Rect& src);

    plat::ColorRef m_key = 0xFF00FF;
    std::map<std::tuple<const plat::DeviceContext*, int, int, int, int>, std::unique_ptr<plat::DeviceContext>>
        m_pictures;
};

} // namespace skin

#pragma once

#include "platform/geometry.h"
#include "resources/atlas_layout.h"

#include <string_view>

namespace plat {
class DeviceContext;
}

// The one skin atlas (635 x 481) every dialog draws from. Start-up loads it and installs it here before the
// first dialog exists; dialogs and elements read it when they are created. The skin names its pictures as the
// atlas table does, so a picture's place is written down once; a name the table lacks does not compile.

namespace skin {

// Not owned; null removes it.
void SetAtlas(plat::DeviceContext* atlas);
plat::DeviceContext* Atlas();

consteval plat::Rect AtlasRect(std::string_view name) {
    const skin_art::AtlasPiece& piece = skin_art::PieceByName(name);
    return plat::Rect::fromXywh(piece.x, piece.y, piece.width, piece.height);
}

// Copies a picture of the atlas to (x, y) at its own size, or stretches it over dst.
void DrawPiece(plat::DeviceContext& dc, int x, int y, const plat::DeviceContext& atlas,
               const plat::Rect& piece);
// Copies a picture at its own size with the atlas's magenta key left out.
void DrawKeyedPiece(plat::DeviceContext& dc, int x, int y, const plat::DeviceContext& atlas,
                    const plat::Rect& piece);
void StretchPiece(plat::DeviceContext& dc, const plat::Rect& dst, const plat::DeviceContext& atlas,
                  const plat::Rect& piece);

} // namespace skin

#include "tools/skin_art/atlas_painter.h"

#include "resources/atlas_layout.h"
#include "tools/skin_art/atlas_sections.h"
#include "tools/skin_art/paint_kit.h"

#include <vector>

namespace skin_art {

namespace {

// Painters draw some pictures whole, gaps included; only what a piece covers is kept.
void KeyOutsidePieces(QImage& atlas) {
    std::vector<bool> covered(static_cast<std::size_t>(kAtlasWidth * kAtlasHeight), false);
    for (const AtlasPiece& piece : kAtlasPieces) {
        for (int y = piece.y; y < piece.y + piece.height; ++y)
            for (int x = piece.x; x < piece.x + piece.width; ++x)
                covered[static_cast<std::size_t>(y * kAtlasWidth + x)] = true;
    }
    const QRgb key = 0xFF000000u | kKeyColour;
    for (int y = 0; y < kAtlasHeight; ++y) {
        for (int x = 0; x < kAtlasWidth; ++x)
            if (!covered[static_cast<std::size_t>(y * kAtlasWidth + x)])
                atlas.setPixel(x, y, key);
    }
}

} // namespace

QImage PaintAtlas() {
    QImage atlas(kAtlasWidth, kAtlasHeight, QImage::Format_RGB32);
    atlas.fill(0xFF000000u | kKeyColour);
    PaintWindowFrame(atlas);
    PaintElementFrame(atlas);
    PaintScrollbars(atlas);
    PaintButtons(atlas);
    PaintSmallControls(atlas);
    PaintGrid(atlas);
    PaintPictures(atlas);
    PaintKindPictures(atlas);
    PaintProjectButtons(atlas);
    PaintGraphIcons(atlas);
    KeyOutsidePieces(atlas);
    return atlas;
}

} // namespace skin_art

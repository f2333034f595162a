#include "skin/button_images.h"

namespace skin {

ButtonImage PickButtonImage(bool enabled, bool hot, bool pressed) {
    if (!enabled)
        return kImageDisabled;
    if (hot && pressed)
        return kImagePressed;
    return hot ? kImageHot : kImageNormal;
}

ButtonImage PickIcoBackImage(bool enabled, bool hot, bool pressed, bool selected) {
    if (!enabled)
        return kImageDisabled;
    if (hot)
        return pressed ? kImagePressed : kImageHot;
    return selected ? kImagePressed : kImageNormal;
}

ButtonPreset ButtonStylePreset(int preset) {
    constexpr int kCap = 5;
    switch (preset) {
    case 0:
        return {true, kPushButtonImages, kCap, kButtonTextColor};
    case 2:
        return {true, AtlasStates("tab.normal", "tab.hot", "tab.disabled", "tab.pressed"), kCap,
                plat::Rgb(128, 128, 128)};
    case 3:
        return {true, AtlasStates("tab.pressed", "tab.pressed", "tab.disabled", "tab.normal"), kCap,
                plat::Rgb(0, 0, 0)};
    case 4:
        return {true, AtlasStates("choice.normal", "choice.hot", "choice.hot", "choice.pressed"), kCap,
                kButtonTextColor};
    case 5:
        return {true, AtlasStates("choice.pressed", "choice.hot", "choice.hot", "choice.normal"), kCap,
                kButtonTextColor};
    case 6:
        return {true, AtlasStates("flat.normal", "flat.hot", "flat.normal", "flat.hot"), kCap,
                kButtonTextColor};
    case 7:
        return {true, AtlasStates("flat.hot", "flat.hot", "flat.hot", "flat.hot"), kCap, kButtonTextColor};
    default: {
        ButtonPreset colourOnly;
        colourOnly.textColor = kButtonTextColor;
        return colourOnly;
    }
    }
}

std::vector<SlicePiece> ButtonBackSlices(int imageWidth, int cap, int width) {
    if (width <= 0 || imageWidth <= 0)
        return {};
    if (width == imageWidth)
        return {{0, imageWidth, 0, imageWidth}};
    if (width >= 2 * (imageWidth - cap)) {
        const int h = imageWidth / 2;
        return {{0, h, 0, h}, {h, 1, h, width - 2 * h}, {imageWidth - h, h, width - h, h}};
    }
    const int left = width / 2;
    const int right = width - left;
    return {{0, left, 0, left}, {imageWidth - width + left, right, left, right}};
}

std::vector<NinePiece> NineSlice(const plat::Rect& src, const plat::Rect& dst) {
    const int cw = src.width() / 3;
    const int ch = src.height() / 3;
    const int sxs[4] = {src.left, src.left + cw, src.right - cw, src.right};
    const int sys[4] = {src.top, src.top + ch, src.bottom - ch, src.bottom};
    const int dxs[4] = {dst.left, dst.left + cw, dst.right - cw, dst.right};
    const int dys[4] = {dst.top, dst.top + ch, dst.bottom - ch, dst.bottom};
    std::vector<NinePiece> pieces;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const plat::Rect s{sxs[col], sys[row], sxs[col + 1], sys[row + 1]};
            const plat::Rect d{dxs[col], dys[row], dxs[col + 1], dys[row + 1]};
            if (!s.isEmpty() && !d.isEmpty())
                pieces.push_back({s, d});
        }
    }
    return pieces;
}

} // namespace skin

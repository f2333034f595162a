#pragma once

#include "platform/color.h"
#include "platform/geometry.h"

#include <optional>
#include <vector>

// How push buttons choose and cut their atlas images.

namespace skin {

// Index of a state image; buttons keep theirs in this order.
enum ButtonImage { kImageNormal = 0, kImageHot = 1, kImageDisabled = 2, kImagePressed = 3 };

// Text button: disabled, else pressed while hot and held, else hot, else normal.
ButtonImage PickButtonImage(bool enabled, bool hot, bool pressed);
// Back of an icon button: a selected button shows its pressed back while the pointer is elsewhere.
ButtonImage PickIcoBackImage(bool enabled, bool hot, bool pressed, bool selected);

struct ButtonPreset {
    bool hasImages = false; // false: the preset only sets the text colour
    plat::Point images[4];  // normal, hot, disabled, pressed
    int width = 0;
    int height = 0;
    int cap = 0;
    plat::ColorRef textColor = 0;
};

inline constexpr plat::ColorRef kButtonTextColor = plat::rgb(0, 54, 92);
inline constexpr plat::ColorRef kDisabledTextColor = plat::rgb(128, 128, 128);

// The looks of SetStyle; unknown numbers only reset the text colour.
ButtonPreset ButtonStylePreset(int preset);

// One horizontal piece of a button back: source columns (relative to the image) to target columns
// (relative to the button).
struct SlicePiece {
    int srcX = 0;
    int srcWidth = 0;
    int dstX = 0;
    int dstWidth = 0;
    bool operator==(const SlicePiece&) const = default;
};

// The back of a text button of the given width from an image imageWidth wide: one copy at the image's own
// width; wide buttons stretch the one column at the centre; narrower ones join the two outer halves.
std::vector<SlicePiece> ButtonBackSlices(int imageWidth, int cap, int width);

struct NinePiece {
    plat::Rect src;
    plat::Rect dst;
};

// A picture cut into a 3 x 3 grid whose corners are a third of its size, corners copied and the rest
// stretched over dst.
std::vector<NinePiece> NineSlice(const plat::Rect& src, const plat::Rect& dst);

} // namespace skin

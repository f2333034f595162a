#pragma once

#include "platform/color.h"
#include "platform/geometry.h"
#include "skin/skin_atlas.h"

#include <optional>
#include <vector>

// How push buttons choose and cut their atlas images.

namespace skin {

// Which of a button's state images to draw.
enum ButtonImage { kImageNormal, kImageHot, kImageDisabled, kImagePressed };

// Text button and icon: disabled, else pressed while hot and held, else hot, else normal.
ButtonImage PickButtonImage(bool enabled, bool hot, bool pressed);
// Back of an icon button: a selected button shows its pressed back while the pointer is elsewhere.
ButtonImage PickIcoBackImage(bool enabled, bool hot, bool pressed, bool selected);

// The pictures of one control in its four states: where each lies in its sheet, all of one size.
struct StateImages {
    plat::Point normal;
    plat::Point hot;
    plat::Point disabled;
    plat::Point pressed;
    plat::Size size;

    // The same picture in every state.
    static constexpr StateImages Single(plat::Point at, plat::Size size) { return {at, at, at, at, size}; }
    constexpr plat::Point Of(ButtonImage image) const {
        switch (image) {
        case kImageHot:
            return hot;
        case kImageDisabled:
            return disabled;
        case kImagePressed:
            return pressed;
        case kImageNormal:
            break;
        }
        return normal;
    }
};

// Equal animation frames in a sheet, stacked downwards or laid side by side from origin.
struct AnimationStrip {
    plat::Point origin;
    plat::Size frame;
    bool vertical = true;
    int frameCount = 0;

    constexpr plat::Size Extent() const {
        return vertical ? plat::Size{frame.cx, frame.cy * frameCount}
                        : plat::Size{frame.cx * frameCount, frame.cy};
    }
    // Where frame i lies, relative to the origin.
    constexpr plat::Point FrameAt(int i) const {
        return vertical ? plat::Point{0, i * frame.cy} : plat::Point{i * frame.cx, 0};
    }
};

// A control's pictures in its four states, by their names in the atlas table.
consteval StateImages AtlasStates(std::string_view normal, std::string_view hot, std::string_view disabled,
                                  std::string_view pressed) {
    const plat::Rect n = AtlasRect(normal);
    const plat::Rect h = AtlasRect(hot);
    const plat::Rect d = AtlasRect(disabled);
    const plat::Rect p = AtlasRect(pressed);
    if (h.size() != n.size() || d.size() != n.size() || p.size() != n.size())
        throw "the state images of a control differ in size";
    return {n.topLeft(), h.topLeft(), d.topLeft(), p.topLeft(), n.size()};
}

// The standard push button, also the back of icon buttons and of a container's auto-scroll bars.
inline constexpr StateImages kPushButtonImages =
    AtlasStates("button.normal", "button.hot", "button.normal", "button.pressed");

struct ButtonPreset {
    bool hasImages = false; // false: the preset only sets the text colour
    StateImages images;
    int cap = 0;
    plat::ColorRef textColor = 0;
};

inline constexpr plat::ColorRef kButtonTextColor = plat::Rgb(0, 54, 92);
inline constexpr plat::ColorRef kDisabledTextColor = plat::Rgb(128, 128, 128);

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

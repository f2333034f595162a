#pragma once

#include <algorithm>
#include <cstdint>

namespace plat {

// A colour as the skin code stores it: 0x00BBGGRR.
using ColorRef = std::uint32_t;

// What pixel queries answer outside a surface.
inline constexpr ColorRef kInvalidColor = 0xFFFFFFFFu;

constexpr ColorRef Rgb(int red, int green, int blue) {
    return static_cast<ColorRef>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(ColorRef c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(ColorRef c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(ColorRef c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// Surfaces hold premultiplied 0xAARRGGBB pixels; these convert between the two forms.
constexpr std::uint32_t PremultipliedArgb(ColorRef c, int alpha) {
    const auto a = static_cast<std::uint32_t>(alpha & 0xFF);
    const auto mul = [a](int v) { return (static_cast<std::uint32_t>(v) * a + 127) / 255; };
    return (a << 24) | (mul(RedOf(c)) << 16) | (mul(GreenOf(c)) << 8) | mul(BlueOf(c));
}
// The colour of a premultiplied pixel, alpha undone (a transparent pixel reads as black).
constexpr ColorRef ColorOfArgb(std::uint32_t argb) {
    const std::uint32_t a = argb >> 24;
    if (a == 0)
        return 0;
    const auto un = [a](std::uint32_t v) {
        return static_cast<int>(std::min<std::uint32_t>(255, (v * 255 + a / 2) / a));
    };
    return Rgb(un((argb >> 16) & 0xFF), un((argb >> 8) & 0xFF), un(argb & 0xFF));
}

} // namespace plat

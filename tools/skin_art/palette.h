#pragma once

// The one palette of our skin: a single blue accent over cool near-whites, with ink-blue text.

#include <QRgb>

namespace skin_art::palette {

// The accent: the window border colour, title bar, chosen and pressed looks, pictograms.
inline constexpr QRgb kAccent = qRgb(0, 100, 168);
inline constexpr QRgb kAccentDark = qRgb(0, 76, 130);
inline constexpr QRgb kAccentBright = qRgb(36, 130, 198);
inline constexpr QRgb kAccentLine = qRgb(96, 152, 202);
inline constexpr QRgb kAccentTint = qRgb(212, 231, 246);
inline constexpr QRgb kAccentWash = qRgb(234, 244, 252);

inline constexpr QRgb kTitleTop = qRgb(20, 118, 186);

// Neutrals.
inline constexpr QRgb kInk = qRgb(0, 54, 92);
inline constexpr QRgb kGlyph = qRgb(84, 112, 138);
inline constexpr QRgb kLine = qRgb(166, 188, 207);
inline constexpr QRgb kLineSoft = qRgb(203, 218, 227);
inline constexpr QRgb kPaper = qRgb(255, 255, 255);
inline constexpr QRgb kFaceTop = qRgb(255, 255, 255);
inline constexpr QRgb kFace = qRgb(246, 250, 253);
inline constexpr QRgb kFaceBottom = qRgb(235, 242, 248);
// What lies behind pictures: the dialog's shaded background and the toolbar band.
inline constexpr QRgb kCanvas = qRgb(247, 251, 254);
inline constexpr QRgb kClient = qRgb(241, 249, 255);
inline constexpr QRgb kToolbarBand = qRgb(243, 250, 255);
inline constexpr QRgb kScrollTrack = qRgb(231, 245, 255);

inline constexpr QRgb kDisabledFace = qRgb(241, 244, 247);
inline constexpr QRgb kDisabledLine = qRgb(211, 219, 226);

// Only where meaning asks for it: errors, and the second colour of data bars.
inline constexpr QRgb kDanger = qRgb(196, 66, 60);
inline constexpr QRgb kSecondData = qRgb(38, 146, 132);
inline constexpr QRgb kThirdData = qRgb(214, 150, 40);

} // namespace skin_art::palette

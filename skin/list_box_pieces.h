#pragma once

#include "platform/geometry.h"

// Where the report grid's pictures lie in the skin atlas.

namespace skin::list_box_pieces {

inline constexpr plat::Rect kHeaderLeft = plat::Rect::fromXywh(251, 78, 12, 27);
inline constexpr plat::Rect kHeaderMiddle = plat::Rect::fromXywh(263, 78, 12, 27);
inline constexpr plat::Rect kHeaderRight = plat::Rect::fromXywh(276, 78, 12, 27);
inline constexpr plat::Rect kHeaderLeftRow = plat::Rect::fromXywh(251, 104, 12, 1);
inline constexpr plat::Rect kHeaderMiddleRow = plat::Rect::fromXywh(263, 104, 12, 1);
inline constexpr plat::Rect kHeaderRightRow = plat::Rect::fromXywh(276, 104, 12, 1);
// Filter buttons, indexed [filter on][pointer on it].
inline constexpr plat::Rect kFilterButton[2][2] = {
    {plat::Rect::fromXywh(270, 106, 18, 18), plat::Rect::fromXywh(251, 106, 18, 18)},
    {plat::Rect::fromXywh(270, 125, 18, 18), plat::Rect::fromXywh(251, 125, 18, 18)},
};
// Percentage bars: left cap, track, right cap, fill; [0] for kinds 3 and 5, [1] for kind 4.
struct BarPieces {
    plat::Rect start;
    plat::Rect track;
    plat::Rect end;
    plat::Rect fill;
};
inline constexpr BarPieces kBars[2] = {
    {plat::Rect::fromXywh(251, 144, 5, 13), plat::Rect::fromXywh(256, 144, 6, 13),
     plat::Rect::fromXywh(262, 144, 5, 13), plat::Rect::fromXywh(268, 144, 5, 13)},
    {plat::Rect::fromXywh(281, 144, 5, 13), plat::Rect::fromXywh(286, 144, 6, 13),
     plat::Rect::fromXywh(292, 144, 5, 13), plat::Rect::fromXywh(298, 144, 5, 13)},
};
inline constexpr plat::Rect kCheckOn = plat::Rect::fromXywh(109, 44, 21, 21);
inline constexpr plat::Rect kCheckOff = plat::Rect::fromXywh(109, 66, 21, 21);
inline constexpr plat::Rect kCellIcon = plat::Rect::fromXywh(433, 103, 16, 16);
inline constexpr plat::Rect kButtonLeft = plat::Rect::fromXywh(364, 251, 2, 24);
inline constexpr plat::Rect kButtonMiddle = plat::Rect::fromXywh(366, 251, 169, 24);
inline constexpr plat::Rect kButtonRight = plat::Rect::fromXywh(535, 251, 2, 24);
inline constexpr plat::Rect kButtonIcon = plat::Rect::fromXywh(415, 103, 16, 16);
inline constexpr plat::Rect kEngines[3] = {plat::Rect::fromXywh(364, 276, 16, 15),
                                           plat::Rect::fromXywh(380, 276, 16, 15),
                                           plat::Rect::fromXywh(396, 276, 16, 15)};

} // namespace skin::list_box_pieces

#pragma once

#include "platform/geometry.h"
#include "skin/skin_atlas.h"

// The report grid's pictures in the skin atlas, by their role in the grid.

namespace skin::list_box_pieces {

inline constexpr plat::Rect kHeaderLeft = AtlasRect("grid.header.left");
inline constexpr plat::Rect kHeaderMiddle = AtlasRect("grid.header.middle");
inline constexpr plat::Rect kHeaderRight = AtlasRect("grid.header.right");
inline constexpr plat::Rect kHeaderLeftRow = AtlasRect("grid.header.leftRow");
inline constexpr plat::Rect kHeaderMiddleRow = AtlasRect("grid.header.middleRow");
inline constexpr plat::Rect kHeaderRightRow = AtlasRect("grid.header.rightRow");
// Filter buttons, indexed [filter on][pointer on it]. The top-left pixel of the first is the key colour of
// the grid's keyed pictures.
inline constexpr plat::Rect kFilterButton[2][2] = {
    {AtlasRect("grid.filterOff.normal"), AtlasRect("grid.filterOff.hot")},
    {AtlasRect("grid.filterOn.normal"), AtlasRect("grid.filterOn.hot")},
};
// Percentage bars: [0] for kinds 3 and 5, [1] for kind 4.
struct BarPieces {
    plat::Rect start;
    plat::Rect track;
    plat::Rect end;
    plat::Rect fill;
};
inline constexpr BarPieces kBars[2] = {
    {AtlasRect("grid.barA.start"), AtlasRect("grid.barA.track"), AtlasRect("grid.barA.end"),
     AtlasRect("grid.barA.fill")},
    {AtlasRect("grid.barB.start"), AtlasRect("grid.barB.track"), AtlasRect("grid.barB.end"),
     AtlasRect("grid.barB.fill")},
};
inline constexpr plat::Rect kCheckOn = AtlasRect("check.on");
inline constexpr plat::Rect kCheckOff = AtlasRect("check.off");
inline constexpr plat::Rect kCellIcon = AtlasRect("grid.cellIcon");
inline constexpr plat::Rect kButtonLeft = AtlasRect("grid.button.left");
inline constexpr plat::Rect kButtonMiddle = AtlasRect("grid.button.middle");
inline constexpr plat::Rect kButtonRight = AtlasRect("grid.button.right");
inline constexpr plat::Rect kButtonIcon = AtlasRect("grid.buttonIcon");
inline constexpr plat::Rect kEngines[3] = {AtlasRect("grid.engine1"), AtlasRect("grid.engine2"),
                                           AtlasRect("grid.engine3")};

} // namespace skin::list_box_pieces

#pragma once

#include "skin/skin_menu_popup.h"

#include <vector>

class CSkinElement;

namespace skin {

using ContextMenuItem = CSkinMenuPopup_Item;

// Opens the context menu of an element (a report grid, the date selector) at (x, y) relative to it and runs
// it; the chosen item's command reaches the element's dialog like a click once the menu and the element's
// code have returned. An element outside any dialog opens nothing.
void RunContextMenu(CSkinElement& owner, int x, int y, const std::vector<ContextMenuItem>& items);

} // namespace skin

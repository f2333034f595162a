#include "skin/context_menu.h"

#include "skin/skin_element.h"

namespace skin {

void RunContextMenu(CSkinElement& owner, int x, int y, const std::vector<ContextMenuItem>& items) {
    CSkinDlg_Base* dlg = owner.GetDialog();
    if (!dlg)
        return;
    CSkinMenuPopup menu(dlg, &owner, x, y);
    for (const ContextMenuItem& item : items)
        menu.AddItem(item.text, item.command, item.param);
    menu.DoModal();
}

} // namespace skin

#include "skin/element_shown.h"

#include "skin/skin_dlg_base.h"
#include "skin/skin_dlg_holder.h"

namespace skin {

bool ShownInDialog(const CSkinElement& element, plat::Rect* rect, plat::Rect* visible) {
    const CSkinDlg_Base* dlg = element.GetDialog();
    if (!dlg || !element.m_visible)
        return false;
    const plat::Point at = element.GetDialogPos();
    const plat::Rect own = plat::Rect::fromXywh(at.x, at.y, element.m_width, element.m_height);
    plat::Rect shown = own;
    const CSkinDlgHolder* holder = element.m_pHolder;
    while (holder) {
        if (!holder->m_visible)
            return false;
        const plat::Point h = holder->GetDialogPos();
        const int inset = holder->Inset();
        shown = shown.intersected(plat::Rect::fromXywh(h.x + inset, h.y + inset, holder->m_width - 2 * inset,
                                                       holder->ViewHeight()));
        if (holder->m_pHolder == holder)
            break;
        holder = holder->m_pHolder;
    }
    if (holder != &dlg->m_rootHolder)
        return false;
    *rect = own;
    *visible = shown;
    return true;
}

} // namespace skin

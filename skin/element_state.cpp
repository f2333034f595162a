#include "skin/element_state.h"

#include "skin/skin_dlg_base.h"

namespace skin {

bool IsHotElement(const CSkinElement& element) {
    const CSkinDlg_Base* dlg = element.m_pDlg;
    return dlg && (dlg->m_pHover == &element || dlg->m_pFocus == &element);
}

bool IsPressedElement(const CSkinElement& element) {
    return IsHotElement(element) && element.m_pDlg->m_pPressed == &element;
}

} // namespace skin

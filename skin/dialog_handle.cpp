#include "skin/dialog_handle.h"

#include "skin/skin_dlg_base.h"

namespace skin {

DialogHandle::DialogHandle(CSkinDlg_Base* dialog) : m_life(dialog ? dialog->m_life : nullptr) {}

} // namespace skin

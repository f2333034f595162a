#include "skin/host_window.h"

#include "skin/skin_dlg_base.h"

namespace skin {

plat::Window& HostWindow(CSkinDlg_Base& dlg) {
    return dlg;
}

const plat::Window& HostWindow(const CSkinDlg_Base& dlg) {
    return dlg;
}

} // namespace skin

#pragma once

namespace plat {
class Window;
}
class CSkinDlg_Base;

namespace skin {

// The platform window under a dialog, for what a dialog's own operations do not cover: the toolkit's
// elements and child windows (cursor, focus and capture, native children, popups placed on screen), reading
// the window's state, and tests standing in for the window system. A dialog's public face keeps to its own
// operations (EndSkinDialog, Invalidate, RedrawNow); a caller that means the window itself says so here.
plat::Window& HostWindow(CSkinDlg_Base& dlg);
const plat::Window& HostWindow(const CSkinDlg_Base& dlg);

} // namespace skin

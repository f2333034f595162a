#include "skin/skin_dlg_holder_inner.h"

#include "platform/device_context.h"

void CSkinDlgHolder_Inner::Draw(plat::DeviceContext& dc, int x, int y, bool /*full*/) {
    dc.fillSolidRect(plat::Rect::fromXywh(x, y, m_width, m_height), 0xFFFFFF);
}

bool CSkinDlgHolder_Inner::OnMouse(int /*x*/, int /*y*/, int /*state*/) {
    return true;
}

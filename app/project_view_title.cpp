#include "app/project_view_title.h"

#include "skin/skin_dlg_base.h"
#include "skin/skin_dlg_holder.h"

using namespace Qt::StringLiterals;

namespace {

constexpr plat::ColorRef kTitleColor = plat::Rgb(0, 70, 120);

} // namespace

CProjectViewTitle::CProjectViewTitle() {
    m_className = u"CProjectViewTitle"_s;
}

void CProjectViewTitle::CreateInView(CSkinDlgHolder* holder, unsigned* nextId, const QString& text) {
    Create(holder, ++*nextId, text);
    holder->SetResizeRule(this, kLeft, kTop, -2 * kLeft, kHeight);
}

void CProjectViewTitle::Draw(plat::DeviceContext& dc, int x, int y, bool /*full*/) {
    if (!m_pDlg || m_caption.isEmpty())
        return;
    const plat::Font* previous = dc.selectFont(&m_pDlg->m_fontBold19);
    const plat::ColorRef previousColor = dc.setTextColor(kTitleColor);
    plat::Rect area = plat::Rect::fromXywh(x, y, m_width, m_height);
    dc.drawText(m_caption, area,
                plat::kTextLeft | plat::kTextVCenter | plat::kTextSingleLine | plat::kTextEndEllipsis |
                    plat::kTextNoPrefix);
    dc.setTextColor(previousColor);
    dc.selectFont(previous);
}

#include "app/about_dlg.h"

#include "core/platform_services.h"
#include "skin/commands.h"
#include "skin/skin_atlas.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 285;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 29;
constexpr plat::ColorRef kBandLine = plat::Rgb(212, 222, 229);
constexpr plat::Rect kLogo = skin::AtlasRect("about.logo");

const QLatin1StringView kOpenSite{"open_site"};

} // namespace

CAboutDlg::CAboutDlg(CSkinDlg_Base* parent)
    : CSkinDlg(parent), m_nameFont(u"Arial"_s, 30, plat::kFontWeightBold) {
    m_width = kWidth;
    m_height = kHeight;
    m_maximizable = false;
    m_minimizable = false;
    m_title = u"Tarnwick 2.0 :: About"_s;
}

void CAboutDlg::CreateElements() {
    CSkinLabel& name = m_labels[0];
    name.CreateLabel(&m_rootHolder, ++m_nextElementId, u"Tarnwick 2.0"_s);
    name.SetFont(&m_nameFont);
    name.SetPosition(20, 60, name.m_width, name.m_height, 0);

    m_labels[1].CreateLabel(&m_rootHolder, ++m_nextElementId, u"ver 2.0 R18"_s, name.m_x + name.m_width, 90,
                            QString(), QString(), false, true);
    m_labels[2].CreateLabel(&m_rootHolder, ++m_nextElementId, kSiteText, 20, 140, kOpenSite, QString(), true);

    m_okButton.Create(&m_rootHolder, ++m_nextElementId, u"Ok"_s, skin::cmd::kDefaultOk);
    m_okButton.SetPosition((m_width - kButtonWidth) / 2, m_height - 44, kButtonWidth, kButtonHeight, 0);
}

bool CAboutDlg::OnCommand(const QString& command, int param) {
    // On a thread of its own, so the click is over before the browser comes up.
    if (command == kOpenSite)
        OpenUrlInBrowser(kSiteUrl, true);
    return CSkinDlg::OnCommand(command, param);
}

void CAboutDlg::DrawBackground(plat::DeviceContext& dc) {
    CSkinDlg::DrawBackground(dc);
    dc.fillSolidRect(plat::Rect::fromXywh(4, m_height - 55, m_width - 8, 1), kBandLine);
    if (m_pAtlasDC)
        dc.bitBlt(m_width - 130, 60, kLogo.width(), kLogo.height(), *m_pAtlasDC, kLogo.left, kLogo.top);
}

#pragma once

#include "platform/font.h"
#include "skin/skin_button.h"
#include "skin/skin_dlg.h"
#include "skin/skin_label.h"

#include <array>

// The about box: the product's name, its version and a link to its web site.
class CAboutDlg : public CSkinDlg {
  public:
    explicit CAboutDlg(CSkinDlg_Base* parent);

    void CreateElements() override;
    bool OnCommand(const QString& command, int param) override;
    void DrawBackground(plat::DeviceContext& dc) override;

    // The product's web site, opened by the link.
    static inline const QString kSiteUrl = QStringLiteral("https://www.tarnwick.example/");
    static inline const QString kSiteText = QStringLiteral("www.tarnwick.example");

    // The name, the version and the link.
    std::array<CSkinLabel, 3> m_labels;
    CSkinButton m_okButton;

  private:
    const plat::Font m_nameFont;
};

#pragma once

#include "projects/kind6/project6.h"
#include "skin/skin_button.h"

// Kind 7, Partner Prospector: partner sites with mailing-list sign-up forms, found the way kind 6 finds
// sites. Its page adds a button that opens the selected site in the browser, where the user signs up.
class CProject7 : public CProject6 {
  public:
    explicit CProject7(int id);

    void InitInfo() override;
    void OnCommand(const QString& command, int param, CSkinDlg_Base* sender) override;

    static inline const QString kVisitCommand = QStringLiteral("prj7_visit_site");
    static inline const QString kSelectOne = QStringLiteral("Please select one site.");

  protected:
    QString TestHomePage(const CDownloader& downloader, const QString& homeUrl, bool& found) const override;
    void CreateRowElements(CSkinDlgHolder* holder, unsigned* nextId, int x) override;
    void ShowRowElements(bool visible) override;

  private:
    CSkinButton m_visit;
};

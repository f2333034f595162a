#pragma once

#include "app/project.h"
#include "app/project_view_title.h"

// Kind 5, Bid Watchtower: scheduled monitoring of keyword and website pairs in the paid ads.
class CProject5 : public CProject {
  public:
    explicit CProject5(int id);

    void InitInfo() override;
    // Kind 5 has no input page: the wizard ends at once when it is chosen.
    void CreateWizardPage(CSkinDlgHolder* holder, unsigned* nextId, int labelLeft, int fieldLeft, int top,
                          int width, QString preset) override;
    bool ValidateWizardPage(QString& error) override;
    // Also lets the main window minimise to the tray: monitoring runs for hours.
    void CreateView(CSkinDlgHolder* holder, unsigned* nextId) override;
    void ShowView(int show) override;

  private:
    CProjectViewTitle m_viewTitle;
};

#pragma once

#include "app/project.h"
#include "app/project_view_title.h"

// Kind 3, Campaign Chronicle: the advertisers of one keyword over the last months.
class CProject3 : public CProject {
  public:
    explicit CProject3(int id);

    void InitInfo() override;
    void CreateView(CSkinDlgHolder* holder, unsigned* nextId) override;
    void ShowView(int show) override;

  private:
    CProjectViewTitle m_viewTitle;
};

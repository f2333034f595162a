#pragma once

#include "app/project.h"
#include "app/project_view_title.h"

// Kind 4, Rank Summit: organic competition per keyword with a competition-strength score.
class CProject4 : public CProject {
  public:
    explicit CProject4(int id);

    void InitInfo() override;
    void CreateView(CSkinDlgHolder* holder, unsigned* nextId) override;
    void ShowView(int show) override;

  private:
    CProjectViewTitle m_viewTitle;
};

#pragma once

#include "app/project.h"
#include "app/project_view_title.h"

// Kind 8, Offer Compass: CPA and affiliate offers for a keyword.
class CProject8 : public CProject {
  public:
    explicit CProject8(int id);

    void InitInfo() override;
    void CreateView(CSkinDlgHolder* holder, unsigned* nextId) override;
    void ShowView(int show) override;
    // Saving needs the search to have reached its second step.
    bool CanSave() override;

  private:
    CProjectViewTitle m_viewTitle;
    // The offer search's step, counted from 1; 0 before it starts.
    int m_searchStep = 0;
};

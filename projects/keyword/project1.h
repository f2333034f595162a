#pragma once

#include "app/project.h"
#include "app/project_view_title.h"

// Kind 1, Lexicon Tide: keyword lists from many sources, expanded, measured and grouped into ad groups.
class CProject1 : public CProject {
  public:
    explicit CProject1(int id);

    void InitInfo() override;
    void CreateView(CSkinDlgHolder* holder, unsigned* nextId) override;
    void ShowView(int show) override;
    // Saving waits until the project stops gathering data.
    bool CanSave() override;

  private:
    CProjectViewTitle m_viewTitle;
};

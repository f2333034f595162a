#pragma once

#include "app/project.h"
#include "app/project_view_title.h"

// Kind 2, Niche Lantern: pay-per-click market research per keyword on three search engines.
class CProject2 : public CProject {
  public:
    explicit CProject2(int id);

    void InitInfo() override;
    void CreateView(CSkinDlgHolder* holder, unsigned* nextId) override;
    void ShowView(int show) override;

  private:
    CProjectViewTitle m_viewTitle;
};

#pragma once

#include "app/project.h"
#include "app/project_view_title.h"

// Kind 6, Placement Scout: sites that show content ads for a keyword, with their page and traffic rank.
class CProject6 : public CProject {
  public:
    explicit CProject6(int id);

    void InitInfo() override;
    void CreateView(CSkinDlgHolder* holder, unsigned* nextId) override;
    void ShowView(int show) override;

  protected:
    CProjectViewTitle m_viewTitle;
};

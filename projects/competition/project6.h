#pragma once

#include "projects/keyword_input_project.h"

// Kind 6, Placement Scout: sites that show content ads for a keyword, with their page and traffic rank.
class CProject6 : public CKeywordInputProject {
  public:
    explicit CProject6(int id);

    void InitInfo() override;

  protected:
    // For kind 7, which finds its sites the way this kind does.
    CProject6(int id, int kind);
};

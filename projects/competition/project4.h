#pragma once

#include "projects/keyword_input_project.h"

// Kind 4, Rank Summit: organic competition per keyword with a competition-strength score.
class CProject4 : public CKeywordInputProject {
  public:
    explicit CProject4(int id);

    void InitInfo() override;
};

#pragma once

#include "projects/keyword_input_project.h"

// Kind 2, Niche Lantern: pay-per-click market research per keyword on three search engines.
class CProject2 : public CKeywordInputProject {
  public:
    explicit CProject2(int id);

    void InitInfo() override;
};

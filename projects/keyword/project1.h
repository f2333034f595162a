#pragma once

#include "projects/keyword_input_project.h"

// Kind 1, Lexicon Tide: keyword lists from many sources, expanded, measured and grouped into ad groups.
class CProject1 : public CKeywordInputProject {
  public:
    explicit CProject1(int id);

    void InitInfo() override;
    // Saving waits until the project stops gathering data.
    bool CanSave() override;
};

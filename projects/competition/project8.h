#pragma once

#include "projects/keyword_input_project.h"

// Kind 8, Offer Compass: CPA and affiliate offers for a keyword.
class CProject8 : public CKeywordInputProject {
  public:
    explicit CProject8(int id);

    void InitInfo() override;
    // Saving needs the search to have reached its second step.
    bool CanSave() override;

  private:
    // The offer search's step, counted from 1; 0 before it starts.
    int m_searchStep = 0;
};

#pragma once

#include "projects/keyword_input_project.h"

// Kind 3, Campaign Chronicle: the advertisers of one keyword over the last months.
class CProject3 : public CKeywordInputProject {
  public:
    explicit CProject3(int id);

    void InitInfo() override;
};

#pragma once

#include "projects/competition/project6.h"

// Kind 7, Partner Prospector: partner sites with mailing-list sign-up forms, found the way kind 6 finds
// sites.
class CProject7 : public CProject6 {
  public:
    explicit CProject7(int id);

    void InitInfo() override;
};

#pragma once

#include "skin/skin_element.h"

// The element every holder carries along from its construction to its end: it fills its rectangle white
// and swallows every mouse call, so nothing under it is hovered or pressed through it.
class CSkinDlgHolder_Inner : public CSkinElement {
  public:
    CSkinDlgHolder_Inner() = default;
    ~CSkinDlgHolder_Inner() override = default;

    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;
    bool OnMouse(int x, int y, int state) override;
};

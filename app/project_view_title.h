#pragma once

#include "skin/skin_element.h"

// The heading of a project's view in the main window: the kind's name, in the window's large bold font.
class CProjectViewTitle : public CSkinElement {
  public:
    CProjectViewTitle();

    // Joins the main window's view area below the tab strip, across its width.
    void CreateInView(CSkinDlgHolder* holder, unsigned* nextId, const QString& text);
    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;

    // Where the heading stands in the main window, inside the project frame.
    static constexpr int kLeft = 30;
    static constexpr int kTop = 145;
    static constexpr int kHeight = 28;
};

#pragma once

#include "platform/device_context.h"
#include "skin/skin_element.h"

#include <optional>

// A bar that divides its holder into two panes. Dragging it moves it between its minimum and the holder's
// size less the space kept at the far end; every move sends the command with the new position.
class CSkinDlgSplitter : public CSkinElement {
  public:
    CSkinDlgSplitter();
    ~CSkinDlgSplitter() override;

    using CSkinElement::Create;
    void Create(CSkinDlgHolder* holder, unsigned id, int orientation, int minimum, int farEndSpace,
                int position, const QString& command, int param);
    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;
    // The holder changed size: a position it no longer allows is clamped and sent.
    void OnLayout() override;
    bool OnMouse(int x, int y, int state) override;
    void OnMouseLeave() override;

    // Clamps the position and places the bar; its length follows the holder from then on.
    void Place(int position);

    // A horizontal bar that moves up and down, and a vertical one that moves left and right.
    static constexpr int kHorizontal = 2;
    static constexpr int kVertical = 1;
    static constexpr int kThickness = 6;

    int m_orientation = kHorizontal;
    int m_minimum = 0;
    int m_position = 0;
    int m_farEndSpace = 0;
    // The pointer's last coordinate along the bar's axis while it drags the bar.
    std::optional<int> m_lastCoord;
    // Space before and after the bar along its length; -1 until Create sets the orientation's defaults.
    int m_marginBefore = -1;
    int m_marginAfter = -1;

  private:
    int Clamp(int position) const;
    void Notify();
};

#pragma once

#include "platform/geometry.h"
#include "platform/window.h"
#include "skin/tooltip_layout.h"

#include <QString>

class CSkinDlg;

// The tooltip popup of a skinned dialog. It never takes the keyboard focus or the mouse capture, so typing
// into the field under it loses nothing; its owner tells it about the pointer and closes it.
class CSkinTooltip_windows : public plat::Window {
  public:
    enum CloseState { kKeep = 0, kCloseNow = 1, kCloseAtTimer = 2 };

    // elementRect in the owner's client coordinates.
    CSkinTooltip_windows(CSkinDlg* owner, const QString& text, const plat::Rect& elementRect);
    ~CSkinTooltip_windows() override;

    // Shows the tooltip near the cursor, inside the work area of the screen under it (see PlaceTooltip).
    void ShowAt(plat::Point cursor);
    // The owner saw the pointer at (x, y) in its client coordinates: over the element the tooltip stays.
    void OwnerMouseMove(int x, int y);
    void RequestClose() { m_closeState = kCloseNow; }

    CloseState CloseRequest() const { return CloseState(m_closeState); }
    bool InHandler() const { return m_handlerDepth > 0; }
    const skin::TooltipLayout& Layout() const { return m_layout; }
    plat::Rect LinkRect() const; // tooltip coordinates; empty without a link
    qint64 HideTime() const { return m_hideTime; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    void onPaint(plat::DeviceContext& dc) override;
    void onMouseMove(int x, int y) override;
    void onLButtonDown(int x, int y) override;
    void onLButtonUp(int x, int y) override;
    void onRButtonDown(int x, int y) override;
    bool onMouseWheel(int delta, int x, int y) override;
    bool onKeyDown(int key, unsigned modifiers, bool autoRepeat) override;
    void onTimer(unsigned id) override;

  private:
    CSkinDlg* m_pOwner;
    QString m_text;
    skin::TooltipLayout m_layout;
    plat::Rect m_ownerElementRect;
    plat::Rect m_elementRect;
    int m_closeState = kKeep;
    qint64 m_hideTime = 0;
    int m_width = 100;
    int m_height = 20;
    int m_handlerDepth = 0;
    bool m_forwardedPress = false;
};

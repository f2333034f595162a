#pragma once

#include "platform/window.h"
#include "skin/skin_element.h"

class CSkinDlg_Base;
class CSkinDropList;
class CSkin_WinList;

// The element the popup list lends its frame and vertical scroll bar from; it draws nothing itself, and
// redrawing it repaints the popup at once.
class CSkinElementDummy_WinList : public CSkinElement {
  public:
    explicit CSkinElementDummy_WinList(CSkin_WinList& popup);
    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;
    void Redraw() override;

  private:
    CSkin_WinList& m_popup;
};

// The popup list of a drop list: a grabbing popup window below the list that paints the items in 15-px
// lines from the skin, highlights the line under the pointer and picks a line by click or keys. It reads
// the items from its list, so it never shows stale ones.
class CSkin_WinList : public plat::Window {
  public:
    CSkin_WinList(CSkinDropList& list, CSkinDlg_Base& dlg);
    ~CSkin_WinList() override;

    // The first line shown: the given index scrolled into view, or placed at the top.
    void ScrollIntoView(int index);
    void ScrollToTop(int index);
    // The item under the window point y (the line rows start 4 px down); -1 below the last item.
    int ItemAt(int y) const;
    int VisibleLines() const;
    // Left of the scroll bar, where the lines are.
    bool InLines(int x, int y) const;

    void onPaint(plat::DeviceContext& dc) override;
    void onSize(plat::SizeType type, int width, int height) override;
    void onMouseMove(int x, int y) override;
    void onLButtonDown(int x, int y) override;
    void onLButtonUp(int x, int y) override;
    bool onMouseWheel(int delta, int x, int y) override;
    bool onKeyDown(int key, unsigned modifiers, bool autoRepeat) override;
    bool onKeyUp(int key, unsigned modifiers, bool autoRepeat) override;
    void onTimer(unsigned id) override;
    void onCancelPopup() override;

    int m_highlight = -1;
    int m_focusIndex = -1;
    int m_lineHeight = 15;
    CSkinElementDummy_WinList m_dummy;

  private:
    CSkinDropList& m_list;
    CSkinDlg_Base& m_dlg;
    bool m_held = false;
    plat::Point m_heldAt;
};

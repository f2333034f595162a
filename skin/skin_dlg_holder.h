#pragma once

#include "platform/color.h"
#include "platform/device_context.h"
#include "platform/geometry.h"
#include "skin/skin_dlg_holder_inner.h"
#include "skin/skin_element.h"

#include <array>
#include <vector>

class CSkinDlg_Base;

// One child of a holder with the row height it claims in the content.
struct CSkinDlgHolder_Element {
    CSkinElement* element = nullptr;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int rowHeight = 0;
};

// A resize rule: negative values count from the holder's right or bottom edge (left, top) or from its size
// (right is the width, bottom the height).
struct CSkinDlgHolder_OnResizeElements {
    CSkinElement* element = nullptr;
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool deferred = false;
};

// The container element: keeps children in insertion order (drawing, hit and Tab order), re-places them by
// resize rules, draws them through a surface the size of its view at its scroll offset, routes the mouse to
// the child under it and can scroll itself when the pointer rests near its top or bottom edge.
class CSkinDlgHolder : public CSkinElement {
  public:
    explicit CSkinDlgHolder(bool autoScroll = false, bool flat = false);
    ~CSkinDlgHolder() override;

    // A root holder is created with itself as parent.
    void Create(CSkinDlgHolder* parent, unsigned id);
    void Create(CSkinDlgHolder* parent, unsigned id, const QString& caption, const QString& command,
                int param, const QString& tooltip) override;

    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;
    void OnPositionChanged() override;
    bool OnMouse(int x, int y, int state) override;
    void OnTick() override;

    // Width or height -1 keeps the element's own; row height -1 takes the height.
    void AddElement(CSkinElement* element, int x, int y, int width = -1, int height = -1, int rowHeight = -1);
    void SetResizeRule(CSkinElement* element, int left, int top, int right, int bottom,
                       bool deferred = false);
    void RemoveElement(CSkinElement* element);
    void RemoveAll();
    // Moves the keyboard focus from current to the next focusable element of the dialog (backwards: the
    // previous one); false when there is no other.
    bool FocusNext(CSkinElement* current, bool backwards);

    const std::vector<CSkinDlgHolder_Element>& Children() const { return m_children; }
    // Height of the part of the content this holder shows.
    int ViewHeight() const;
    // Offset of the children from the holder's own position: 4 px inside a frame, none when flat.
    int Inset() const { return m_flat ? 0 : 4; }

    // The auto-scroll bars: their pictures (normal, hover, pressed state, held) imageWidth wide, the bar's
    // height, which is also the height of the zones that start scrolling, and the width of the ends kept
    // unstretched (-1: a third of the image width).
    void SetBarImages(int normalX, int normalY, int hoverX, int hoverY, int pressedX, int pressedY, int heldX,
                      int heldY, int imageWidth, int barHeight, int cap);
    // index 0: the up arrow, 1: the down arrow.
    void SetArrowIcon(int index, int x, int y, int width, int height);

    bool m_autoScroll;
    bool m_flat;
    int m_autoScrollDir = 0; // -1 up, 0 none, 1 down
    qint64 m_nextScrollTime = 0;
    plat::ColorRef m_keyColor = 0xFF00FF;
    // Made and destroyed with the holder, which puts it nowhere: an owner may place it where it wants a
    // white area that takes no mouse.
    CSkinDlgHolder_Inner m_inner;
    // Normal, hover, pressed state and held; the bar shows the held picture while it scrolls pressed.
    std::array<plat::Point, 4> m_barImages;
    int m_barImageWidth;
    int m_barHeight;
    int m_barCap = 5;
    std::array<plat::Rect, 2> m_arrowIcons; // up, down
    int m_edgeZone;

  private:
    void ApplyRule(const CSkinDlgHolder_OnResizeElements& rule);
    void DrawBar(plat::DeviceContext& dc, int x, int y, bool up);
    void CollectFocusOrder(std::vector<CSkinElement*>& order);
    bool Focusable(const CSkinElement* element) const;
    CSkinDlgHolder* Root();

    std::vector<CSkinDlgHolder_Element> m_children;
    std::vector<CSkinDlgHolder_OnResizeElements> m_rules;
    plat::DeviceContext m_surface;
    bool m_laidOut = false;
};

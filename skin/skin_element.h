#pragma once

#include "platform/device_context.h"
#include "platform/geometry.h"
#include "skin/element_handle.h"

#include <QString>
#include <memory>

class CSkinDlgHolder;
class CSkinDlg_Base;

// Base of every drawn control. An element is not a window: it lives in a holder, draws into the holder's
// surface and gets mouse, key and focus calls from its dialog, which hit-tests it.
class CSkinElement {
  public:
    CSkinElement();
    CSkinElement(const CSkinElement&) = delete;
    CSkinElement& operator=(const CSkinElement&) = delete;
    virtual ~CSkinElement();

    // Joins holder at (0, 0) with the current size; without a holder the element is a root, its own holder.
    virtual void Create(CSkinDlgHolder* holder, unsigned id, const QString& caption = QString(),
                        const QString& command = QString(), int param = 0,
                        const QString& tooltip = QString());
    virtual void Draw(plat::DeviceContext& dc, int x, int y, bool full);
    virtual void OnPositionChanged();
    virtual void OnLayout() {}
    virtual void UpdateTextExtent(plat::DeviceContext& /*dc*/) {}
    virtual void OnMouseEnter();
    virtual void OnMouseLeave();
    // state: kMouseHeld, kMouseMove, kMouseReleased or kMouseRightRelease. True when the built-in scrollbars
    // took the call.
    virtual bool OnMouse(int x, int y, int state);
    virtual void OnTick() {}
    virtual void OnDblClick(int /*x*/, int /*y*/) {}
    virtual void OnRightClick(int /*x*/, int /*y*/) {}
    virtual void OnKeyDown(int /*vk*/) {}
    virtual void OnSetFocus(int x, int y);
    virtual void OnKillFocus();
    // The tooltip text and the rectangle it belongs to, in dialog client coordinates.
    virtual bool GetToolTip(QString& text, plat::Rect* rect);
    virtual void SetText(const QString& text);
    virtual QString GetText() const;
    virtual void EnableDragDrop();
    // A null text only asks whether the element would give or take text at that point.
    virtual bool OnBeginDrag(int /*x*/, int /*y*/, QString* /*text*/) { return false; }
    virtual bool OnDropText(int /*x*/, int /*y*/, const QString* /*text*/) { return false; }
    virtual void Redraw();
    // After every paint of the dialog, for an element listed with CSkinDlg_Base::ListOverlay.
    virtual void OnDialogPainted() {}

    // x or y of -1 keeps that coordinate; a negative width or height counts from the holder's size.
    // flags 64 shows the element, 128 hides it.
    void SetPosition(int x, int y, int width, int height, int flags = 0);
    void SetVisible(bool visible);
    void SetEnabled(bool enabled);
    void SetFocus();
    void SetToolTip(const QString& text);
    plat::Point GetDialogPos() const;
    // Leaves dialog and holder; the dialog forgets every reference to the element. A focused element first
    // gets OnKillFocus and the dialog window the keyboard focus, unless the dialog is being torn down.
    void Detach();

    void DrawFrame(int x, int y, int width, int height, plat::DeviceContext& dc);
    // Bars of an element drawn at origin in dc (its own surface: at (0, 0)).
    void DrawScrollbars(plat::DeviceContext& dc, int topInset, int leftInset, plat::Point origin = {});

    CSkinDlg_Base* GetDialog() const { return m_pDlg; }
    bool IsHolder() const;
    // True when this element is other or lies inside it.
    bool IsWithin(const CSkinElement* other) const;

    static constexpr int kShowFlag = 64;
    static constexpr int kHideFlag = 128;

    // Scrollbar parts held with the mouse.
    enum ScrollMode {
        kScrollNone = 0,
        kScrollUp = 1,
        kScrollVThumb = 2,
        kScrollPageUp = 21,
        kScrollPageDown = 22,
        kScrollDown = 3,
        kScrollLeft = 4,
        kScrollHThumb = 5,
        kScrollPageLeft = 51,
        kScrollPageRight = 52,
        kScrollRight = 6,
    };

    QString m_className;
    plat::DeviceContext* m_pAtlasDC = nullptr;
    CSkinDlg_Base* m_pDlg = nullptr;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_noCommand = false;
    bool m_inElementList = false;
    bool m_takesKeys = false;
    // A left click gives the element the keyboard focus. Buttons clear it: clicked with the mouse they keep
    // no focus, so they go dark once the pointer leaves them; Tab still focuses them.
    bool m_focusOnClick = true;
    bool m_wantsKeys = false;
    bool m_wantsAllMoves = false;
    bool m_wantsTicks = false;
    qint64 m_nextScrollStep = 0;
    int m_changeCount = 0;
    int m_x = 0;
    int m_y = 0;
    int m_right = 0;
    int m_bottom = 0;
    // Scroll area: the content view's edges and insets, the content's size and the offsets into it.
    int m_viewLeft = 0;
    int m_rightInset = 0;
    int m_contentWidth = 0;
    int m_scrollX = 0;
    int m_viewTop = 0;
    int m_bottomInset = 0;
    int m_contentHeight = 0;
    int m_scrollY = 0;
    int m_scrollMode = kScrollNone;
    int m_scrollAnchor = 0;
    CSkinDlgHolder* m_pHolder = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    QString m_caption;
    QString m_command;
    QString m_rightCommand;
    QString m_tooltip;
    int m_param = 0;
    int m_rightParam = 0;

  private:
    friend class skin::ElementHandle;

    void PickScrollPart(int x, int y);
    void StepScroll(int x, int y);

    std::shared_ptr<skin::ElementLife> m_life;
};

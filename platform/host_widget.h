#pragma once

#include "platform/window.h"
#include "platform/x11_stacking.h"

#include <QWidget>
#include <memory>

namespace plat {

// The Qt window behind a plat::Window: turns Qt's events into the window's handlers and shows its back
// buffer. Internal to the platform layer.
class HostWidget final : public QWidget {
  public:
    HostWidget(Window* owner, WindowKind kind);
    void detachOwner() { m_owner = nullptr; }
    // The window this widget stands for; null once that window is gone.
    Window* owner() const { return m_owner; }
    static Qt::WindowFlags flagsFor(WindowKind kind, bool showInTaskbar);
    // A window the window manager does not stack (a shadow) stays directly below parent (see StackBelow).
    void followStacking(QWidget* parent);
    void stackBelowParent();
    // Whether one of this widget's events is being handled now (the window may be deleted inside it).
    bool dispatching() const { return m_dispatching > 0; }

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // The window that gets a mouse event: the capturing window when another one holds the capture.
    Window* mouseTarget(const QPointF& globalPos, int& x, int& y) const;

    bool isPopup() const { return m_owner && m_owner->kind() == WindowKind::Popup; }
    // A press outside a popup's shape dismisses it and goes no further.
    bool cancelPopupOnPress(const QMouseEvent* event);

    Window* m_owner;
    std::unique_ptr<StackBelow> m_stacking;
    int m_dispatching = 0;
};

} // namespace plat

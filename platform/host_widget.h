#pragma once

#include "platform/window.h"

#include <QWidget>

namespace plat {

// The Qt window behind a plat::Window: turns Qt's events into the window's handlers and shows its back
// buffer. Internal to the platform layer.
class HostWidget final : public QWidget {
  public:
    HostWidget(Window* owner, WindowKind kind);
    void detachOwner() { m_owner = nullptr; }
    static Qt::WindowFlags flagsFor(WindowKind kind, bool showInTaskbar);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
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

    Window* m_owner;
};

} // namespace plat

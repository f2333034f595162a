#include "platform/host_widget.h"

#include "platform/keys.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>

namespace plat {

Qt::WindowFlags HostWidget::flagsFor(WindowKind kind, bool showInTaskbar) {
    switch (kind) {
    case WindowKind::Dialog:
        return (showInTaskbar ? Qt::Window : Qt::Tool) | Qt::FramelessWindowHint;
    case WindowKind::Popup:
        // Qt's popup: on X11 an override-redirect window with the pointer and keyboard grabbed.
        return Qt::Popup | Qt::FramelessWindowHint;
    case WindowKind::Tooltip:
        return Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus;
    case WindowKind::Layered:
        // A managed window would get a frame that takes the clicks the empty input shape lets through, and
        // the window manager would stack it where it likes.
        return Qt::Tool | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint |
               Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus;
    }
    return Qt::Window;
}

HostWidget::HostWidget(Window* owner, WindowKind kind)
    : QWidget(nullptr, flagsFor(kind, true)), m_owner(owner) {
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    switch (kind) {
    case WindowKind::Dialog:
    case WindowKind::Popup:
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::StrongFocus);
        // The press that dismisses a popup is not handed on to the window under the pointer.
        setAttribute(Qt::WA_NoMouseReplay, kind == WindowKind::Popup);
        break;
    case WindowKind::Tooltip:
        // Typing into the field under a tooltip must lose no key: the tooltip never takes the focus.
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFocusPolicy(Qt::NoFocus);
        break;
    case WindowKind::Layered:
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        break;
    }
}

void HostWidget::followStacking(QWidget* parent) {
    m_stacking = std::make_unique<StackBelow>(this, parent);
}

void HostWidget::stackBelowParent() {
    if (m_stacking)
        m_stacking->apply();
}

bool HostWidget::cancelPopupOnPress(const QMouseEvent* event) {
    if (!isPopup())
        return false;
    const QPoint p = event->position().toPoint();
    if (m_owner->regionContains(p.x(), p.y()))
        return false;
    m_owner->onCancelPopup();
    return true;
}

bool HostWidget::event(QEvent* event) {
    // Deletes the widget: nothing may be counted on it afterwards.
    if (event->type() == QEvent::DeferredDelete)
        return QWidget::event(event);
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(d) { ++depth; }
        ~Depth() { --depth; }
    } depth(m_dispatching);
    // Tab and Shift+Tab belong to the window's own handlers, not to Qt's focus chain.
    if (event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QWidget::event(event);
}

void HostWidget::paintEvent(QPaintEvent* event) {
    if (!m_owner)
        return;
    if (m_owner->needsRender())
        m_owner->render();
    const QImage& back = m_owner->backBuffer().image();
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& r : event->region()) {
        const QRect shown = r.intersected(back.rect());
        if (!shown.isEmpty())
            painter.drawImage(shown.topLeft(), back, shown);
        if (shown != r && m_owner->kind() != WindowKind::Layered) {
            // Outside the back buffer (a size change not painted yet): plain white, never garbage.
            const QRegion rest = QRegion(r).subtracted(shown);
            for (const QRect& restRect : rest)
                painter.fillRect(restRect, Qt::white);
        }
    }
}

void HostWidget::resizeEvent(QResizeEvent*) {
    if (m_owner)
        m_owner->deliverSize(false);
}

void HostWidget::moveEvent(QMoveEvent*) {
    if (m_owner)
        m_owner->onMove(x(), y());
}

Window* HostWidget::mouseTarget(const QPointF& globalPos, int& x, int& y) const {
    Window* target = m_owner;
    Window* capture = Window::captureWindow();
    if (capture && capture != m_owner && capture->widget())
        target = capture;
    const QPoint local = target->widget()->mapFromGlobal(globalPos.toPoint());
    x = local.x();
    y = local.y();
    return target;
}

void HostWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!m_owner)
        return;
    int x = 0, y = 0;
    Window* target = mouseTarget(event->globalPosition(), x, y);
    target->onMouseMove(x, y);
}

void HostWidget::leaveEvent(QEvent*) {
    if (m_owner)
        m_owner->onMouseLeave();
}

void HostWidget::mousePressEvent(QMouseEvent* event) {
    if (!m_owner || cancelPopupOnPress(event))
        return;
    int x = 0, y = 0;
    Window* target = mouseTarget(event->globalPosition(), x, y);
    if (event->button() == Qt::LeftButton)
        target->onLButtonDown(x, y);
    else if (event->button() == Qt::RightButton)
        target->onRButtonDown(x, y);
}

void HostWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_owner)
        return;
    int x = 0, y = 0;
    Window* target = mouseTarget(event->globalPosition(), x, y);
    if (event->button() == Qt::LeftButton)
        target->onLButtonUp(x, y);
    else if (event->button() == Qt::RightButton)
        target->onRButtonUp(x, y);
}

void HostWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!m_owner || cancelPopupOnPress(event))
        return;
    int x = 0, y = 0;
    Window* target = mouseTarget(event->globalPosition(), x, y);
    if (event->button() == Qt::LeftButton)
        target->onLButtonDblClk(x, y);
    else if (event->button() == Qt::RightButton)
        target->onRButtonDown(x, y);
}

void HostWidget::wheelEvent(QWheelEvent* event) {
    if (!m_owner)
        return;
    int x = 0, y = 0;
    Window* target = mouseTarget(event->globalPosition(), x, y);
    const QPoint angle = event->angleDelta();
    const int delta = angle.y() != 0 ? angle.y() : angle.x();
    if (!target->onMouseWheel(delta, x, y))
        event->ignore();
}

void HostWidget::keyPressEvent(QKeyEvent* event) {
    if (!m_owner)
        return;
    const int key = KeyCodeOf(event->key());
    const unsigned mods = ModifiersOf(event->modifiers());
    const bool handled = m_owner->onKeyDown(key, mods, event->isAutoRepeat());
    if (!m_owner)
        return;
    if (!handled && key == kKeyF1)
        m_owner->onHelp();
    // Ctrl with a letter is a command, not typing; Ctrl+Alt is AltGr on some keyboards and types.
    const bool command = (mods & kModControl) && !(mods & kModAlt);
    const QString text = event->text();
    if (!handled && !command && !text.isEmpty() && text.front() >= u' ' && text.front() != QChar(0x7F))
        m_owner->onChar(text);
}

void HostWidget::keyReleaseEvent(QKeyEvent* event) {
    if (!m_owner)
        return;
    // On the release, as dialogs take Esc: the release must not reach the window under a closed popup.
    if (isPopup() && event->key() == Qt::Key_Escape) {
        if (!event->isAutoRepeat())
            m_owner->onCancelPopup();
        return;
    }
    m_owner->onKeyUp(KeyCodeOf(event->key()), ModifiersOf(event->modifiers()), event->isAutoRepeat());
}

void HostWidget::focusOutEvent(QFocusEvent* event) {
    if (!m_owner)
        return;
    // The focus going to one of our own child widgets (a native edit field) is not a loss.
    const QWidget* now = QApplication::focusWidget();
    if (now && now != this && isAncestorOf(now))
        return;
    m_owner->onKillFocus();
    if (m_owner && isPopup() && isVisible() && event->reason() == Qt::ActiveWindowFocusReason)
        m_owner->onCancelPopup();
}

void HostWidget::changeEvent(QEvent* event) {
    if (m_owner && event->type() == QEvent::ActivationChange) {
        const bool active = isActiveWindow();
        m_owner->onActivate(active);
        // A child of ours holding the keyboard loses it with the window, and its loss is ours: no focus-out
        // of our own says so.
        const QWidget* child = focusWidget();
        if (m_owner && !active && child && child != this && isAncestorOf(child))
            m_owner->onKillFocus();
    } else if (m_owner && event->type() == QEvent::WindowStateChange)
        m_owner->stateChangedByUser(windowState() & Qt::WindowMinimized);
    QWidget::changeEvent(event);
}

void HostWidget::closeEvent(QCloseEvent* event) {
    // The window decides itself whether and when it closes; Qt closes a popup when it loses its grab.
    event->ignore();
    if (isPopup())
        m_owner->onCancelPopup();
    else if (m_owner)
        m_owner->onClose();
}

void HostWidget::timerEvent(QTimerEvent* event) {
    if (m_owner)
        m_owner->dispatchTimer(event->timerId());
}

void HostWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (!m_owner || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    m_owner->onDragEnter();
    // Accepting the enter keeps the moves coming; whether a drop is welcome is decided per position.
    event->accept();
    const QPoint p = event->position().toPoint();
    event->setDropAction(m_owner->onDragOver(p.x(), p.y()) ? Qt::CopyAction : Qt::IgnoreAction);
}

void HostWidget::dragMoveEvent(QDragMoveEvent* event) {
    const QPoint p = event->position().toPoint();
    if (m_owner && event->mimeData()->hasText() && m_owner->onDragOver(p.x(), p.y())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void HostWidget::dragLeaveEvent(QDragLeaveEvent*) {
    if (m_owner)
        m_owner->onDragLeave();
}

void HostWidget::dropEvent(QDropEvent* event) {
    const QPoint p = event->position().toPoint();
    if (m_owner && event->mimeData()->hasText() && m_owner->onDrop(p.x(), p.y(), event->mimeData()->text())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace plat

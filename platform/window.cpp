#include "platform/window.h"

#include "platform/compositor.h"
#include "platform/fade_out.h"
#include "platform/host_widget.h"
#include "platform/screens.h"

#include <QBasicTimer>
#include <QDrag>
#include <QEventLoop>
#include <QIcon>
#include <QMimeData>
#include <QPointer>
#include <QRegion>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QVariantAnimation>
#include <QWindow>
#include <cmath>
#include <map>

namespace plat {

namespace {

Window* s_capture = nullptr;
std::function<void(Window&)> s_modalShownHook;

QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}
Rect FromQRect(const QRect& r) {
    return Rect::fromXywh(r.x(), r.y(), r.width(), r.height());
}

// Timers below this period are used for dragging, where a coarse timer would stutter.
constexpr int kPreciseBelowMs = 20;

// How a native window asks to be shown without activation (on X11: a zero user time, which window managers
// take as "do not focus"). Qt sets it from the widget attribute only as it creates the native window.
constexpr char kShowWithoutActivating[] = "_q_showWithoutActivating";

} // namespace

struct Window::Data {
    std::unique_ptr<HostWidget> widget;
    std::map<unsigned, QBasicTimer> timers;
    QEventLoop* loop = nullptr;
    bool endRequested = false;
    int endCode = 0;
    bool dirty = true;
    bool showInTaskbar = true;
    bool sizeDelivered = false;
    Size lastSize;
    SizeType lastType = SizeType::Restored;
    Rect normalRect;
    QIcon icon;
    std::unique_ptr<QSystemTrayIcon> tray;
    bool fixedSize = false;
    QPointer<QVariantAnimation> slide;
    QRegion slideShape;
};

Window::Window(Window* parent, WindowKind kind)
    : m_parent(parent), m_kind(kind), m_d(std::make_unique<Data>()) {
    m_d->widget = std::make_unique<HostWidget>(this, kind);
    if (kind == WindowKind::Layered && parent)
        m_d->widget->followStacking(parent->widget());
}

Window::~Window() {
    if (s_capture == this)
        s_capture = nullptr;
    if (m_d->loop)
        m_d->loop->exit(m_d->endCode);
    m_d->tray.reset();
    m_d->timers.clear();
    m_d->widget->detachOwner();
    if (m_d->widget->dispatching()) {
        // Deleted inside one of its own events: the widget goes once that event is over.
        m_d->widget->hide();
        m_d->widget.release()->deleteLater();
    } else {
        m_d->widget.reset();
    }
}

QWidget* Window::widget() const {
    return m_d->widget.get();
}

int Window::doModal() {
    m_d->endRequested = false;
    m_d->endCode = 0;
    m_inModal = true;
    m_d->widget->setWindowModality(m_parent ? Qt::WindowModal : Qt::NonModal);
    onInitDialog();
    if (!m_d->endRequested) {
        if (!isVisible())
            show();
        QEventLoop loop;
        m_d->loop = &loop;
        if (s_modalShownHook) {
            // The hook may end the run or open further modal runs, each with a hook call of its own.
            QTimer::singleShot(0, m_d->widget.get(), [this] {
                if (const std::function<void(Window&)> hook = s_modalShownHook)
                    hook(*this);
            });
        }
        loop.exec(QEventLoop::DialogExec);
        m_d->loop = nullptr;
    }
    const int code = m_d->endCode;
    hide();
    for (auto& [id, timer] : m_d->timers)
        timer.stop();
    m_d->timers.clear();
    m_inModal = false;
    onDestroy();
    removeTrayIcon();
    releaseCapture();
    return code;
}

void Window::setModalShownHook(std::function<void(Window&)> hook) {
    s_modalShownHook = std::move(hook);
}

void Window::endDialog(int code) {
    m_d->endCode = code;
    m_d->endRequested = true;
    if (m_d->loop)
        m_d->loop->exit(code);
}

void Window::prepareShow() {
    if (!m_d->widget->isVisible()) {
        const Qt::WindowFlags wanted = HostWidget::flagsFor(m_kind, m_d->showInTaskbar);
        if (m_d->widget->windowFlags() != wanted) {
            const QRect kept = m_d->widget->geometry();
            m_d->widget->setWindowFlags(wanted);
            m_d->widget->setGeometry(kept);
        }
    }
    if (m_parent) {
        // Changing the flags re-creates the native window, which then needs its transient parent again.
        m_d->widget->winId();
        m_parent->widget()->winId();
        QWindow* parentHandle = m_parent->widget()->windowHandle();
        if (m_d->widget->windowHandle()->transientParent() != parentHandle)
            m_d->widget->windowHandle()->setTransientParent(parentHandle);
    }
    setGeometry(windowRect());
}

void Window::show() {
    prepareShow();
    m_d->widget->show();
    if (m_kind == WindowKind::Dialog) {
        m_d->widget->raise();
        m_d->widget->activateWindow();
    } else if (m_kind == WindowKind::Popup) {
        m_d->widget->raise(); // a popup holds the keyboard without being activated
    }
    m_d->widget->stackBelowParent();
}

void Window::showSlidingDown(int durationMs) {
    QWidget* w = m_d->widget.get();
    if (m_d->slide)
        m_d->slide->stop();
    if (!WindowAnimationsAvailable() || durationMs <= 0) {
        show();
        return;
    }
    const QRegion shape = w->mask();
    m_d->slideShape = shape;
    const auto reveal = [w, shape](int height) {
        const QRegion open(0, 0, w->width(), std::max(1, height));
        w->setMask(shape.isEmpty() ? open : shape.intersected(open));
    };
    reveal(1);
    show();
    auto* slide = new QVariantAnimation(w);
    slide->setStartValue(1);
    slide->setEndValue(w->height());
    slide->setDuration(durationMs);
    QObject::connect(slide, &QVariantAnimation::valueChanged, w,
                     [reveal](const QVariant& value) { reveal(value.toInt()); });
    // Stopped half way (hidden, shown again) or run to the end, the window gets its own shape back.
    QObject::connect(slide, &QAbstractAnimation::stateChanged, w,
                     [w, shape](QAbstractAnimation::State now, QAbstractAnimation::State) {
                         if (now != QAbstractAnimation::Stopped)
                             return;
                         if (shape.isEmpty())
                             w->clearMask();
                         else
                             w->setMask(shape);
                     });
    m_d->slide = slide;
    slide->start(QAbstractAnimation::DeleteWhenStopped);
}

void Window::showNoActivate() {
    QWidget* w = m_d->widget.get();
    const bool had = w->testAttribute(Qt::WA_ShowWithoutActivating);
    w->setAttribute(Qt::WA_ShowWithoutActivating, true);
    prepareShow();
    // A window shown before has its native window already, which must hear of it itself.
    QWindow* handle = w->windowHandle();
    const QVariant handleHad = handle ? handle->property(kShowWithoutActivating) : QVariant();
    if (handle)
        handle->setProperty(kShowWithoutActivating, true);
    w->show();
    if (handle)
        handle->setProperty(kShowWithoutActivating, handleHad);
    w->setAttribute(Qt::WA_ShowWithoutActivating, had);
    m_d->widget->stackBelowParent();
}

void Window::hide() {
    if (s_capture == this)
        releaseCapture();
    if (m_d->slide)
        m_d->slide->stop();
    m_d->widget->hide();
}

void Window::hideFading(int durationMs) {
    if (m_d->widget->isVisible() && durationMs > 0 && TranslucentWindowsAvailable() && !m_back.isNull())
        FadeOutCopy(windowRect(), m_back.image(), durationMs);
    hide();
}

bool Window::isVisible() const {
    return m_d->widget->isVisible();
}
void Window::setEnabled(bool enabled) {
    m_d->widget->setEnabled(enabled);
}
bool Window::isEnabled() const {
    return m_d->widget->isEnabled();
}
bool Window::isActive() const {
    return m_d->widget->isActiveWindow();
}

void Window::bringToFront() {
    m_d->widget->raise();
    m_d->widget->activateWindow();
}

void Window::setFocus() {
    m_d->widget->setFocus(Qt::OtherFocusReason);
}

void Window::minimize() {
    if (m_minimized)
        return;
    m_minimized = true;
    m_d->widget->showMinimized();
    deliverSize(true);
}

void Window::maximize() {
    if (m_minimized) {
        m_minimized = false;
        m_d->widget->showNormal();
    }
    if (!m_maximized)
        m_d->normalRect = windowRect();
    m_maximized = true;
    place(workArea());
    deliverSize(true);
}

void Window::restore() {
    if (m_minimized) {
        m_minimized = false;
        m_d->widget->showNormal();
        deliverSize(true);
        return;
    }
    if (!m_maximized)
        return;
    m_maximized = false;
    place(KeepReachable(m_d->normalRect, AvailableRects()));
    deliverSize(true);
}

void Window::stateChangedByUser(bool minimized) {
    if (minimized == m_minimized)
        return;
    m_minimized = minimized;
    deliverSize(true);
}

void Window::setGeometry(const Rect& screenRect) {
    place(KeepReachable(screenRect, AvailableRects()));
    deliverSize(false);
}

void Window::place(const Rect& screenRect) {
    if (m_d->fixedSize)
        m_d->widget->setFixedSize(screenRect.width(), screenRect.height());
    m_d->widget->setGeometry(ToQRect(screenRect));
}

void Window::setSizeLimits(bool resizable, Size minimum) {
    m_d->fixedSize = !resizable;
    if (resizable) {
        m_d->widget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        m_d->widget->setMinimumSize(minimum.cx, minimum.cy);
    } else {
        m_d->widget->setFixedSize(m_d->widget->size());
    }
}

void Window::move(int x, int y) {
    const Rect r = windowRect();
    setGeometry(Rect::fromXywh(x, y, r.width(), r.height()));
}

void Window::resize(int width, int height) {
    const Rect r = windowRect();
    setGeometry(Rect::fromXywh(r.left, r.top, width, height));
}

Rect Window::windowRect() const {
    return FromQRect(m_d->widget->geometry());
}

Size Window::clientSize() const {
    return Size{m_d->widget->width(), m_d->widget->height()};
}

void Window::centerOnParent() {
    const Rect own = windowRect();
    const Rect over = m_parent ? m_parent->windowRect() : workArea();
    Rect centred = Rect::fromXywh(over.left + (over.width() - own.width()) / 2,
                                  over.top + (over.height() - own.height()) / 2, own.width(), own.height());
    // Centred over a parent near a screen edge, the window still stays on that screen where it fits.
    const Rect area =
        AvailableRectAt(Point{centred.left + centred.width() / 2, centred.top + centred.height() / 2});
    const int x = std::max(area.left, std::min(centred.left, area.right - centred.width()));
    const int y = std::max(area.top, std::min(centred.top, area.bottom - centred.height()));
    centred = centred.translated(x - centred.left, y - centred.top);
    setGeometry(centred);
}

Rect Window::workArea() const {
    const Rect r = windowRect();
    return AvailableRectAt(Point{r.left + r.width() / 2, r.top + r.height() / 2});
}

Point Window::clientToScreen(Point p) const {
    const QPoint g = m_d->widget->mapToGlobal(QPoint(p.x, p.y));
    return Point{g.x(), g.y()};
}

Point Window::screenToClient(Point p) const {
    const QPoint l = m_d->widget->mapFromGlobal(QPoint(p.x, p.y));
    return Point{l.x(), l.y()};
}

void Window::setWindowText(const QString& text) {
    m_d->widget->setWindowTitle(text);
}
QString Window::windowText() const {
    return m_d->widget->windowTitle();
}

void Window::setShowInTaskbar(bool show) {
    m_d->showInTaskbar = show;
}

void Window::setIcon(const QString& imagePath) {
    m_d->icon = QIcon(imagePath);
    m_d->widget->setWindowIcon(m_d->icon);
    if (m_d->tray)
        m_d->tray->setIcon(m_d->icon);
}

void Window::setRoundRectRegion(int width, int height, int ellipseWidth, int ellipseHeight) {
    if (width <= 0 || height <= 0) {
        m_d->widget->setMask(QRegion(0, 0, 1, 1));
        return;
    }
    const double rx = std::max(0, ellipseWidth) / 2.0, ry = std::max(0, ellipseHeight) / 2.0;
    QRegion region;
    for (int y = 0; y < height; ++y) {
        // Distance of the row's centre into the corner ellipse, from the nearer of top and bottom.
        const double fromEdge = std::min(y + 0.5, height - y - 0.5);
        int inset = 0;
        if (ry > 0 && fromEdge < ry) {
            const double dy = (ry - fromEdge) / ry;
            inset = static_cast<int>(std::lround(rx - rx * std::sqrt(std::max(0.0, 1.0 - dy * dy))));
        }
        inset = std::min(inset, width / 2);
        region += QRect(inset, y, width - 2 * inset, 1);
    }
    m_d->widget->setMask(region);
}

void Window::clearRegion() {
    m_d->widget->clearMask();
}

bool Window::regionContains(int x, int y) const {
    // While the window slides open, its shape is the one it opens to, not the part shown so far.
    const QRegion mask = m_d->slide ? m_d->slideShape : m_d->widget->mask();
    if (mask.isEmpty())
        return m_d->widget->rect().contains(x, y);
    return mask.contains(QPoint(x, y));
}

bool Window::needsRender() const {
    return m_d->dirty;
}

void Window::render() {
    const Size size = clientSize();
    if (m_back.size() != size)
        m_back.create(size.cx, size.cy);
    m_d->dirty = false;
    if (!m_back.isNull())
        onPaint(m_back);
}

void Window::invalidate() {
    m_d->dirty = true;
    m_d->widget->update();
}

void Window::redrawNow() {
    m_d->dirty = true;
    if (m_d->widget->isVisible())
        m_d->widget->repaint();
    else
        render();
}

void Window::showBackBuffer(const Rect& rect) {
    if (m_d->widget->isVisible() && !rect.isEmpty())
        m_d->widget->repaint(ToQRect(rect));
}

void Window::setTimer(unsigned id, int intervalMs) {
    const Qt::TimerType type = intervalMs < kPreciseBelowMs ? Qt::PreciseTimer : Qt::CoarseTimer;
    m_d->timers[id].start(std::max(1, intervalMs), type, m_d->widget.get());
}

void Window::killTimer(unsigned id) {
    const auto it = m_d->timers.find(id);
    if (it == m_d->timers.end())
        return;
    it->second.stop();
    m_d->timers.erase(it);
}

bool Window::hasTimer(unsigned id) const {
    return m_d->timers.count(id) != 0;
}

void Window::dispatchTimer(int qtTimerId) {
    for (const auto& [id, timer] : m_d->timers) {
        if (timer.timerId() == qtTimerId) {
            const unsigned ours = id; // the handler may kill this timer and so the map entry
            onTimer(ours);
            return;
        }
    }
}

void Window::setCapture() {
    if (s_capture && s_capture != this)
        s_capture->releaseCapture();
    s_capture = this;
    // Qt's grab also brings presses outside the program's windows (where the window system allows it). A
    // popup holds the pointer already; a grab of its own would end that one when the capture is released.
    if (m_d->widget->isVisible() && m_kind != WindowKind::Popup)
        m_d->widget->grabMouse();
}

void Window::releaseCapture() {
    if (s_capture != this)
        return;
    s_capture = nullptr;
    if (QWidget::mouseGrabber() == m_d->widget.get())
        m_d->widget->releaseMouse();
}

bool Window::hasCapture() const {
    return s_capture == this;
}

Window* Window::captureWindow() {
    return s_capture;
}

void Window::setCursorShape(CursorShape shape) {
    Qt::CursorShape qtShape = Qt::ArrowCursor;
    switch (shape) {
    case CursorShape::Arrow:
        qtShape = Qt::ArrowCursor;
        break;
    case CursorShape::Hand:
        qtShape = Qt::PointingHandCursor;
        break;
    case CursorShape::SizeWE:
        qtShape = Qt::SizeHorCursor;
        break;
    case CursorShape::SizeNS:
        qtShape = Qt::SizeVerCursor;
        break;
    case CursorShape::SizeNWSE:
        qtShape = Qt::SizeFDiagCursor;
        break;
    case CursorShape::SizeNESW:
        qtShape = Qt::SizeBDiagCursor;
        break;
    }
    if (m_d->widget->cursor().shape() != qtShape)
        m_d->widget->setCursor(qtShape);
}

void Window::acceptDrops(bool accept) {
    m_d->widget->setAcceptDrops(accept);
}

bool Window::startTextDrag(const QString& text) {
    auto* data = new QMimeData;
    data->setText(text);
    QDrag drag(m_d->widget.get());
    drag.setMimeData(data);
    return drag.exec(Qt::CopyAction) == Qt::CopyAction;
}

bool Window::addTrayIcon(const QString& tip) {
    if (!IsSystemTrayAvailable())
        return false;
    if (!m_d->tray) {
        m_d->tray = std::make_unique<QSystemTrayIcon>();
        QObject::connect(m_d->tray.get(), &QSystemTrayIcon::activated, m_d->widget.get(),
                         [this](QSystemTrayIcon::ActivationReason reason) {
                             if (reason == QSystemTrayIcon::Trigger)
                                 onTrayIcon(TrayClick::Left);
                             else if (reason == QSystemTrayIcon::Context)
                                 onTrayIcon(TrayClick::Right);
                             else if (reason == QSystemTrayIcon::DoubleClick)
                                 onTrayIcon(TrayClick::Double);
                         });
    }
    m_d->tray->setIcon(m_d->icon.isNull() ? m_d->widget->windowIcon() : m_d->icon);
    m_d->tray->setToolTip(tip);
    m_d->tray->show();
    return m_d->tray->isVisible();
}

void Window::removeTrayIcon() {
    m_d->tray.reset();
}

bool Window::hasTrayIcon() const {
    return m_d->tray != nullptr;
}

void Window::onCancelPopup() {
    if (m_inModal)
        endDialog(0);
    else
        hide();
}

void Window::deliverSize(bool force) {
    const SizeType type =
        m_minimized ? SizeType::Minimized : (m_maximized ? SizeType::Maximized : SizeType::Restored);
    const Size size = clientSize();
    if (!force && m_d->sizeDelivered && size == m_d->lastSize && type == m_d->lastType)
        return;
    m_d->sizeDelivered = true;
    m_d->lastSize = size;
    m_d->lastType = type;
    m_d->dirty = true;
    onSize(type, size.cx, size.cy);
}

bool IsSystemTrayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace plat

#include "platform/first_expose.h"

#include "platform/window.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace plat {

// Watches the application's events: the native window of the widget does not exist yet when the watch starts.
class FirstExposeWatch::Filter : public QObject {
  public:
    Filter(const Window& window, std::function<void()> exposed)
        : m_window(window), m_exposed(std::move(exposed)) {
        qApp->installEventFilter(this);
    }

    // The window handles its expose here, so the call comes once the first picture has been drawn.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_exposed || event->type() != QEvent::Expose)
            return false;
        const QWindow* handle = m_window.widget()->windowHandle();
        if (!handle || watched != handle || !handle->isExposed())
            return false;
        qApp->removeEventFilter(this);
        watched->event(event);
        std::exchange(m_exposed, nullptr)();
        return true;
    }

  private:
    const Window& m_window;
    std::function<void()> m_exposed;
};

FirstExposeWatch::FirstExposeWatch(const Window& window, std::function<void()> exposed)
    : m_filter(std::make_unique<Filter>(window, std::move(exposed))) {}

FirstExposeWatch::~FirstExposeWatch() = default;

} // namespace plat

// The floor for start-up timing: a Qt Widgets main window with a label as its central widget, built like the
// program. It prints the monotonic time (microseconds) once its window has been drawn on screen for the first
// time, the way the program does with its --report-expose switch.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <string>

namespace {

class ExposeReport : public QObject {
  public:
    explicit ExposeReport(const QWidget& widget) : m_widget(widget) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_done || event->type() != QEvent::Expose || watched != m_widget.windowHandle() ||
            !m_widget.windowHandle()->isExposed())
            return false;
        m_done = true;
        watched->event(event);
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        const auto us = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
        std::fputs(("exposed " + std::to_string(us) + '\n').c_str(), stdout);
        std::fflush(stdout);
        return true;
    }

  private:
    const QWidget& m_widget;
    bool m_done = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Hello, world")));
    ExposeReport report(window);
    app.installEventFilter(&report);
    window.show();
    return app.exec();
}

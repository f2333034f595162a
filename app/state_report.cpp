#include "app/state_report.h"

#include "app/main_dlg.h"
#include "net/crawler.h"
#include "skin/host_window.h"

using namespace Qt::StringLiterals;

namespace {

// Often enough that a script waiting on a line loses no time worth counting.
constexpr int kPollMs = 50;

} // namespace

StateReport::StateReport(const CMainDlg& mainDlg, std::function<void(const QString& line)> write)
    : m_mainDlg(mainDlg), m_write(std::move(write)) {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
    m_timer.start(kPollMs);
}

QString StateReport::Line() const {
    // Read between two ticks, the crawler's pause flag is the global pause (a tick sets it per project).
    const bool paused = g_pCrawler && g_pCrawler->IsPaused();
    const plat::Window& window = skin::HostWindow(m_mainDlg);
    return u"state paused=%1 maximized=%2 minimized=%3 tray=%4 shadow=%5"_s.arg(int(paused))
        .arg(int(window.isMaximized()))
        .arg(int(window.isMinimized()))
        .arg(int(window.hasTrayIcon()))
        .arg(int(m_mainDlg.Shadow().IsShown()));
}

void StateReport::Poll() {
    // Nothing to tell until the window is up.
    const plat::Window& window = skin::HostWindow(m_mainDlg);
    if (!window.isVisible() && !window.isMinimized() && !window.hasTrayIcon())
        return;
    const QString line = Line();
    if (line != m_last) {
        m_last = line;
        m_write(line);
    }
}

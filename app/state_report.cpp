#include "app/state_report.h"

#include "app/main_dlg.h"
#include "net/crawler.h"

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
    return u"state paused=%1 maximized=%2 minimized=%3 tray=%4 shadow=%5"_s.arg(int(paused))
        .arg(int(m_mainDlg.isMaximized()))
        .arg(int(m_mainDlg.isMinimized()))
        .arg(int(m_mainDlg.hasTrayIcon()))
        .arg(int(m_mainDlg.Shadow().IsShown()));
}

void StateReport::Poll() {
    // Nothing to tell until the window is up.
    if (!m_mainDlg.isVisible() && !m_mainDlg.isMinimized() && !m_mainDlg.hasTrayIcon())
        return;
    const QString line = Line();
    if (line != m_last) {
        m_last = line;
        m_write(line);
    }
}

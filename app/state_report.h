#pragma once

#include <QString>
#include <QTimer>
#include <functional>

class CMainDlg;

// For the on-screen smoke test (the --report-state switch): writes a line with the global pause and the
// main window's state (drop shadow included) whenever one of them changes, so a script can follow what its
// clicks did.
class StateReport {
  public:
    StateReport(const CMainDlg& mainDlg, std::function<void(const QString& line)> write);

    // The line for the state now: "state paused=<0|1> maximized=<0|1> minimized=<0|1> tray=<0|1>
    // shadow=<0|1>".
    QString Line() const;

    static inline const QString kSwitch = QStringLiteral("--report-state");

  private:
    void Poll();

    const CMainDlg& m_mainDlg;
    std::function<void(const QString&)> m_write;
    QString m_last;
    QTimer m_timer;
};

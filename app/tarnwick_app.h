#pragma once

#include "app/project.h"
#include "net/crawler_folders.h"

#include <QString>
#include <functional>

class CMainDlg;
class CSSLContext;

// What the start-up takes from its surroundings. main() gives the real ones; tests give temporary folders,
// record the failure messages and drive the main window themselves.
struct CTarnwickAppOptions {
    CrawlerFolders folders;
    // The arguments after the executable, as one text (see JoinCommandLine).
    QString commandLine;
    // Shows a start-up failure to the user.
    std::function<void(const QString& text)> reportFailure;
    // Makes the TLS client context of every https exchange; default: one that trusts the system store.
    std::function<bool(CSSLContext& context)> createSslContext;
    // Runs the main window until it closes; default: its modal run.
    std::function<void(CMainDlg& mainDlg)> runMainWindow;
    // Makes the projects of the wizard and of opened files.
    ProjectFactory makeProject;
    // Set (by the --report-state switch): takes a line whenever the pause or the window state changes.
    std::function<void(const QString& line)> reportState;
    // Set (by the --report-expose switch): called once the main window is first drawn on screen.
    std::function<void()> reportExposed;
};

// The process's start-up, the main window's run and the take-down in reverse order.
class CTarnwickApp {
  public:
    explicit CTarnwickApp(CTarnwickAppOptions options);

    // The whole run. False when start-up failed: the reason was reported and nothing is left running.
    bool Run();

    static inline const QString kRandFileNameFailed = QStringLiteral("Failed to get SSL RAND file name");
    static inline const QString kRandFileFailed = QStringLiteral("Failed to set SSL RAND file");
    static inline const QString kSslContextFailed = QStringLiteral("Failed to create SSL context");
    // Only for start-up timing; kept out of the command line the program stores.
    static inline const QString kReportExposeSwitch = QStringLiteral("--report-expose");

  private:
    CTarnwickAppOptions m_options;
};

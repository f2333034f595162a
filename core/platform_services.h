#pragma once

#include <QString>

// What the layers without a user interface need from the desktop. The application installs its
// implementation at start-up; until then (and in tests) a headless one records the calls.
class PlatformServices {
  public:
    virtual ~PlatformServices() = default;

    // Puts text on the clipboard as Unicode text; a busy clipboard is passed over silently.
    virtual void CopyText(const QString& text) = 0;
    // Starts the user's browser on url, handed over as one argument (never through a shell) without
    // waiting for the browser; a failed start passes silently.
    virtual void OpenUrl(const QString& url) = 0;
    // Tells the user something they should know and need not decide on (one OK button). From any thread;
    // another thread's notice is shown by the user-interface thread.
    virtual void ShowNotice(const QString& text) = 0;
};

// Makes services the process-wide instance; they are not owned and must stay alive while installed.
// Null brings back the headless default. Install at start-up or in a test's set-up, not while other
// threads use the services.
void InstallPlatformServices(PlatformServices* services);
PlatformServices& InstalledPlatformServices();

void CopyTextToClipboard(const QString& text);

void ShowUserNotice(const QString& text);

// URLs that begin with none of "http:", "https:" and "mailto:" (in any case) get "http://" in front, so
// a bare host name opens as a web page and nothing reaches the launcher looking like an option.
// onOwnThread: the caller goes on at once; a thread of its own takes a copy of the URL and opens it 100 ms
// later, so that a click that asked for the page is over before the browser comes up.
void OpenUrlInBrowser(const QString& url, bool onOwnThread = false);

// Returns once every page handed to a thread of its own has been opened (at exit each is waited for anyway).
void WaitForBrowserLaunches();

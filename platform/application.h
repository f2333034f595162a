#pragma once

#include <QStringList>
#include <memory>

class QApplication;

namespace plat {

// The process's one user-interface application object; made by main before any window. Windows run on
// nested modal loops, so closing the last window does not end the process by itself.
class Application {
  public:
    Application(int& argc, char** argv);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    ~Application();

    // Delivers pending events once (for code that waits on a window without a modal loop).
    static void processEvents();
    // The icon of every window (title bar, task bar, window switcher) and of the tray icon, from images of
    // several sizes of one picture; the window system shows the size that suits it.
    static void setWindowIcon(const QStringList& imagePaths);

  private:
    std::unique_ptr<QApplication> m_app;
};

} // namespace plat

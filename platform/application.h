#pragma once

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

  private:
    std::unique_ptr<QApplication> m_app;
};

} // namespace plat

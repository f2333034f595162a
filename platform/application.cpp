#include "platform/application.h"

#include <QApplication>

namespace plat {

Application::Application(int& argc, char** argv) : m_app(std::make_unique<QApplication>(argc, argv)) {
    QApplication::setQuitOnLastWindowClosed(false);
}

Application::~Application() = default;

void Application::processEvents() {
    QCoreApplication::processEvents();
}

} // namespace plat

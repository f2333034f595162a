#include "platform/application.h"

#include <QApplication>
#include <QIcon>

namespace plat {

Application::Application(int& argc, char** argv) : m_app(std::make_unique<QApplication>(argc, argv)) {
    QApplication::setQuitOnLastWindowClosed(false);
}

Application::~Application() = default;

void Application::processEvents() {
    QCoreApplication::processEvents();
}

void Application::setWindowIcon(const QStringList& imagePaths) {
    QIcon icon;
    for (const QString& path : imagePaths)
        icon.addFile(path);
    QApplication::setWindowIcon(icon);
}

} // namespace plat

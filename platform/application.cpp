#include "platform/application.h"

#include "platform/image_file.h"

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>

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
    for (const QString& path : imagePaths) {
        const QImage image = ReadImageFile(path);
        if (!image.isNull())
            icon.addPixmap(QPixmap::fromImage(image));
    }
    QApplication::setWindowIcon(icon);
}

} // namespace plat

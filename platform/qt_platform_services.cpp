#include "platform/qt_platform_services.h"

#include "platform/clipboard.h"
#include "platform/shell.h"

#include <QCoreApplication>
#include <QThread>

namespace plat {

void QtPlatformServices::CopyText(const QString& text) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    // The clipboard belongs to the user-interface thread; other threads hand the text over to it.
    if (QThread::currentThread() == app->thread())
        SetClipboardText(text);
    else
        QMetaObject::invokeMethod(
            app, [text] { SetClipboardText(text); }, Qt::QueuedConnection);
}

void QtPlatformServices::OpenUrl(const QString& url) {
    plat::OpenUrl(url);
}

void InstallQtPlatformServices() {
    static QtPlatformServices services;
    InstallPlatformServices(&services);
}

} // namespace plat

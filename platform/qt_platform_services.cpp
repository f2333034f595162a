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
        setClipboardText(text);
    else
        QMetaObject::invokeMethod(
            app, [text] { setClipboardText(text); }, Qt::QueuedConnection);
}

void QtPlatformServices::OpenUrl(const QString& url) {
    openUrl(url);
}

void installQtPlatformServices() {
    static QtPlatformServices services;
    InstallPlatformServices(&services);
}

} // namespace plat

#include "platform/qt_platform_services.h"

#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "platform/shell.h"

#include <QCoreApplication>
#include <QThread>

using namespace Qt::StringLiterals;

namespace plat {

namespace {

// Runs call on the user-interface thread: at once when this is it, else queued to it.
template <typename Call> void OnUiThread(Call call) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    if (QThread::currentThread() == app->thread())
        call();
    else
        QMetaObject::invokeMethod(app, call, Qt::QueuedConnection);
}

} // namespace

void QtPlatformServices::CopyText(const QString& text) {
    // The clipboard belongs to the user-interface thread; other threads hand the text over to it.
    OnUiThread([text] { SetClipboardText(text); });
}

void QtPlatformServices::OpenUrl(const QString& url) {
    plat::OpenUrl(url);
}

void QtPlatformServices::ShowNotice(const QString& text) {
    OnUiThread([text] { ShowPlainMessageBox(u"Tarnwick 2.0"_s, text); });
}

void InstallQtPlatformServices() {
    static QtPlatformServices services;
    InstallPlatformServices(&services);
}

} // namespace plat

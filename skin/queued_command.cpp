#include "skin/queued_command.h"

#include "skin/skin_dlg_base.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace skin {

void PostCommand(const DialogHandle& to, const QString& command, int param) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || !to.Get())
        return;
    QMetaObject::invokeMethod(
        app,
        [to, command, param] {
            if (CSkinDlg_Base* dlg = to.Get())
                dlg->OnCommand(command, param);
        },
        Qt::QueuedConnection);
}

} // namespace skin

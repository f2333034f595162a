#include "platform/message_box.h"

#include <QMessageBox>

namespace plat {

void ShowPlainMessageBox(const QString& caption, const QString& text) {
    QMessageBox::critical(nullptr, caption, text, QMessageBox::Ok);
}

} // namespace plat

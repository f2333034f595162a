#include "platform/beep.h"

#include <QApplication>

namespace plat {

void Beep() {
    QApplication::beep();
}

} // namespace plat

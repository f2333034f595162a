#include "platform/beep.h"

#include <QApplication>

namespace plat {

void beep() {
    QApplication::beep();
}

} // namespace plat

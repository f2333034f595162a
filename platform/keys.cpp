#include "platform/keys.h"

#include <QGuiApplication>

namespace plat {

unsigned keyboardModifiers() {
    return modifiersOf(QGuiApplication::queryKeyboardModifiers());
}

unsigned modifiersOf(Qt::KeyboardModifiers held) {
    unsigned mods = kModNone;
    if (held & Qt::ShiftModifier)
        mods |= kModShift;
    if (held & Qt::ControlModifier)
        mods |= kModControl;
    if (held & Qt::AltModifier)
        mods |= kModAlt;
    return mods;
}

} // namespace plat

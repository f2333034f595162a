#pragma once

#include <Qt>

namespace plat {

// Key codes passed to the key handlers: letters are 'A'..'Z' and digits '0'..'9' (their ASCII codes);
// the others below. Keys without a code here arrive as 0.
enum Key : int {
    kKeyNone = 0,
    kKeyBackspace = 0x08,
    kKeyTab = 0x09,
    kKeyEnter = 0x0D,
    kKeyShift = 0x10,
    kKeyControl = 0x11,
    kKeyAlt = 0x12,
    kKeyEscape = 0x1B,
    kKeySpace = 0x20,
    kKeyPageUp = 0x21,
    kKeyPageDown = 0x22,
    kKeyEnd = 0x23,
    kKeyHome = 0x24,
    kKeyLeft = 0x25,
    kKeyUp = 0x26,
    kKeyRight = 0x27,
    kKeyDown = 0x28,
    kKeyInsert = 0x2D,
    kKeyDelete = 0x2E,
    kKeyF1 = 0x70,
};

enum KeyModifier : unsigned {
    kModNone = 0,
    kModShift = 1u << 0,
    kModControl = 1u << 1,
    kModAlt = 1u << 2,
};

// Our key code for a Qt key code (kKeyNone when it has none).
int KeyCodeOf(int qtKey);

// The modifier keys held now (the asynchronous key state the skin reads for Shift and Ctrl).
unsigned KeyboardModifiers();
// Qt's modifier flags as our KeyModifier bits.
unsigned ModifiersOf(Qt::KeyboardModifiers held);

} // namespace plat

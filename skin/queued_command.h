#pragma once

#include "skin/dialog_handle.h"

#include <QString>

namespace skin {

// Sends command and param to the dialog's OnCommand once the event loop runs again, so the code that asked
// (a menu and the element that opened it) has returned before the command may close or delete anything.
// A dialog that has died by then gets nothing.
void PostCommand(const DialogHandle& to, const QString& command, int param);

} // namespace skin

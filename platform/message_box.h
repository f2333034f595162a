#pragma once

#include <QString>

namespace plat {

// A plain modal message box of the window system (not skinned): text, caption, one OK button and an error
// icon. For failures before any skinned dialog can exist; needs the Application object; returns when the
// user has closed it.
void ShowPlainMessageBox(const QString& caption, const QString& text);

} // namespace plat

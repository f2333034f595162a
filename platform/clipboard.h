#pragma once

#include <QString>

namespace plat {

// The system clipboard, as Unicode text.
void SetClipboardText(const QString& text);
QString ClipboardText();

} // namespace plat

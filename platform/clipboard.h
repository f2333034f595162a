#pragma once

#include <QString>

namespace plat {

// The system clipboard, as Unicode text.
void setClipboardText(const QString& text);
QString clipboardText();

} // namespace plat

#pragma once

#include <QString>

namespace plat {

// Opens a URL or a file with the user's default program ("xdg-open", started detached with the target as
// its one argument, never through a shell). False when the program cannot be started.
bool OpenUrl(const QString& url);
bool OpenFile(const QString& path);

// The folder of the running executable (where the program looks for its manuals and marker files).
QString ProgramFolder();

} // namespace plat

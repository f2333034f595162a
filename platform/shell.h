#pragma once

#include <QString>
#include <functional>

namespace plat {

class Window;

// Opens a URL with the user's default program ("xdg-open", started detached with the URL as its one
// argument, never through a shell). False when the program cannot be started.
bool OpenUrl(const QString& url);

// Opens a file by its absolute path with the user's default program, as OpenUrl does, and watches the opener
// to its end without making anyone wait for it: when the file is not there, the opener cannot start or it
// ends in failure (no program for the file, or that program failed), onFailure runs on the user-interface
// thread, unless owner is gone by then. It may run before this returns. A successful opening is not
// reported.
void OpenFileWatched(const QString& path, const Window& owner, std::function<void()> onFailure);

// The folder of the running executable (where the program looks for its manuals and marker files).
QString ProgramFolder();

} // namespace plat

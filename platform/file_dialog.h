#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace plat {

class Window;

// What a file dialog asks for. Each filter reads "Description (*.a *.b)": the window system takes the
// patterns from the parentheses.
struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QStringList filters;
    // Save: ask before a chosen existing file is replaced.
    bool confirmOverwrite = true;
};

// The user's answer: the chosen path (empty when cancelled) and the index of the filter chosen with it.
struct FileDialogAnswer {
    QString path;
    int filterIndex = 0;

    bool accepted() const { return !path.isEmpty(); }
};

// Runs the window system's file dialog modally over parent (may be null). No default name and no default
// suffix: the caller decides what a name without one means.
FileDialogAnswer RunFileDialog(Window* parent, const FileDialogRequest& request);

// Tests answer file dialogs themselves: while set, RunFileDialog calls script instead of showing a dialog.
// Null goes back to the real dialog.
void SetFileDialogScript(std::function<FileDialogAnswer(const FileDialogRequest&)> script);

} // namespace plat

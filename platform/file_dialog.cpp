#include "platform/file_dialog.h"

#include "platform/window.h"

#include <QFileDialog>

namespace plat {

namespace {

std::function<FileDialogAnswer(const FileDialogRequest&)> s_script;

} // namespace

void SetFileDialogScript(std::function<FileDialogAnswer(const FileDialogRequest&)> script) {
    s_script = std::move(script);
}

FileDialogAnswer RunFileDialog(Window* parent, const FileDialogRequest& request) {
    if (s_script)
        return s_script(request);
    const bool save = request.mode == FileDialogRequest::Mode::Save;
    QFileDialog dialog(parent ? parent->widget() : nullptr);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return {dialog.selectedFiles().constFirst(),
            int(std::max<qsizetype>(0, request.filters.indexOf(dialog.selectedNameFilter())))};
}

} // namespace plat

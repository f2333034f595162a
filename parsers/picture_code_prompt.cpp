#include "parsers/picture_code_prompt.h"

namespace {

PictureCodePrompt& InstalledPrompt() {
    static PictureCodePrompt prompt;
    return prompt;
}

} // namespace

void InstallPictureCodePrompt(PictureCodePrompt prompt) {
    InstalledPrompt() = std::move(prompt);
}

int RunPictureCodePrompt(CSkinDlg_Base* parent, const CDownloader& downloader, QString& answer) {
    // A copy, so a prompt that installs another while it runs does not pull itself from under its own feet.
    const PictureCodePrompt prompt = InstalledPrompt();
    if (!prompt)
        return kPictureCodeCancel;
    return prompt(parent, downloader, answer);
}

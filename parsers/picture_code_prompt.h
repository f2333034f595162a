#pragma once

#include <QString>
#include <functional>

class CDownloader;
class CSkinDlg_Base;

// The keyword tool asks the user to read a picture code. The service layer has no windows, so it reaches
// the prompt through this seam: the application installs its dialog at start-up; until then (and in tests)
// the headless default cancels, as a user who closed the prompt would.

// What the prompt gives back as the result of its modal run.
inline constexpr int kPictureCodeOk = 1;
inline constexpr int kPictureCodeCancel = 2;
// The answer that asks for a new picture instead of giving a code.
inline constexpr char16_t kPictureCodeRetry[] = u"#retry_me#";

// Shows the picture held by downloader (its raw reply bytes) over parent and runs modally: returns
// kPictureCodeCancel, or kPictureCodeOk with answer set to the typed code or kPictureCodeRetry. parent is
// the caller's window, handed through unread (null: none).
using PictureCodePrompt =
    std::function<int(CSkinDlg_Base* parent, const CDownloader& downloader, QString& answer)>;

// Makes prompt the one in use; an empty function brings back the headless default. Install at start-up or
// in a test's set-up.
void InstallPictureCodePrompt(PictureCodePrompt prompt);
int RunPictureCodePrompt(CSkinDlg_Base* parent, const CDownloader& downloader, QString& answer);

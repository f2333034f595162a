#pragma once

#include "skin/skin_button.h"
#include "skin/skin_dlg.h"
#include "skin/skin_label.h"
#include "skin/skin_progress.h"

#include <QString>

class CDownloader;

// Downloads one installer over HTTP into the data folder with a progress bar. It ends with 1 once the file
// is saved (m_savedPath then names it) and with 2 otherwise. It never runs what it saved.
class CDownloadUpdateDlg : public CSkinDlg {
  public:
    explicit CDownloadUpdateDlg(CSkinDlg_Base* parent);
    // Gives back a downloader still held.
    ~CDownloadUpdateDlg() override;

    void CreateElements() override;
    bool OnCommand(const QString& command, int param) override;
    void OnTimer(unsigned id) override;

    static constexpr unsigned kTimerId = 343154688;
    static constexpr int kTimerMs = 300;

    // Set by the opener.
    QString m_url;
    // From the response header; 0 until known.
    qint64 m_expectedLength = 0;
    QString m_savedPath;

    CSkinLabel m_label;
    CSkinProgress m_bar;
    CSkinButton m_cancelButton;

  private:
    // One timer step of a running download.
    void ShowProgress();
    void Finish();
    // Gives the downloader back, tells the user and ends with 2.
    void Fail(const QString& message);
    void ReleaseDownloader();

    CDownloader* m_downloader = nullptr;
};

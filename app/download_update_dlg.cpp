#include "app/download_update_dlg.h"

#include "app/installer_download.h"
#include "core/atomic_file.h"
#include "net/crawler.h"
#include "net/downloader.h"
#include "net/http_response.h"
#include "skin/commands.h"
#include "skin/skin_constants.h"

using namespace Qt::StringLiterals;
namespace cmd = skin::cmd;

namespace {

const QString kDownloadError =
    u"There was an error while trying to download the update. Please try again later."_s;

bool IsSuccess(int status) {
    return status >= 200 && status < 300;
}

} // namespace

CDownloadUpdateDlg::CDownloadUpdateDlg(CSkinDlg_Base* parent) : CSkinDlg(parent) {
    m_maximizable = false;
}

CDownloadUpdateDlg::~CDownloadUpdateDlg() {
    ReleaseDownloader();
}

void CDownloadUpdateDlg::CreateElements() {
    m_title = u"Downloading update"_s;
    m_width = 360;
    m_height = 140;
    m_label.CreateLabel(&m_rootHolder, ++m_nextElementId, u"Please wait..."_s, 40, 40);
    m_bar.Create(&m_rootHolder, ++m_nextElementId);
    m_bar.SetPosition(40, 62, 280, CSkinProgress::kHeight);
    m_bar.SetRange(0, 100);
    m_cancelButton.Create(&m_rootHolder, ++m_nextElementId, u"Cancel"_s, cmd::kCancel);
    m_cancelButton.SetPosition(135, 91, 90, skin::kButtonHeight);
    setTimer(kTimerId, kTimerMs);
}

bool CDownloadUpdateDlg::OnCommand(const QString& command, int param) {
    if (command == cmd::kCancel)
        EndSkinDialog(skin::kResultCancel);
    return CSkinDlg::OnCommand(command, param);
}

void CDownloadUpdateDlg::OnTimer(unsigned id) {
    CSkinDlg::OnTimer(id);
    if (id != kTimerId || Result() != 0)
        return;
    if (!m_downloader) {
        // A URL with nothing to save under is refused before anything is fetched.
        QString refusal = InstallerSaveError(m_url, u"there is no data folder"_s);
        if (!g_pCrawler || InstallerSavePath(g_pCrawler->GetDataDir(), m_url, &refusal).isEmpty()) {
            killTimer(kTimerId);
            Fail(refusal);
            return;
        }
        m_downloader = g_pCrawler->GetFreeDownloader();
        if (!m_downloader)
            return;
        // An installer may take longer than a page; this dialog shows its progress and cancels it.
        m_downloader->SetReplyTimeLimits({.totalDeadlineMs = 0});
        if (!m_downloader->Start(m_url, true, true))
            ReleaseDownloader();
        return;
    }
    if (m_downloader->IsFinished()) {
        killTimer(kTimerId);
        Finish();
        return;
    }
    ShowProgress();
}

void CDownloadUpdateDlg::ShowProgress() {
    qint64 received = 0;
    {
        std::lock_guard guard(m_downloader->m_cs);
        if (m_expectedLength == 0 && !m_downloader->m_header.isEmpty())
            m_expectedLength = ParseResponseHead(m_downloader->m_header).contentLength.value_or(0);
        // The count includes the header and the blank line after it.
        received = qint64(m_downloader->m_received.load()) - m_downloader->m_header.toUtf8().size() - 4;
    }
    if (m_expectedLength > 0)
        m_bar.SetPos(DownloadPercent(received, m_expectedLength));
}

void CDownloadUpdateDlg::Finish() {
    const DownloadResponse response = m_downloader->Response();
    // An error page, or a reply the exchange found cut short of its length, is no installer.
    if (response.raw.isEmpty() || !IsSuccess(response.status.code) || !response.lastError.isEmpty()) {
        Fail(kDownloadError);
        return;
    }
    const QByteArray body = response.raw;
    // Checked again: a file of that name may have appeared while the installer came.
    QString refusal;
    const QString path = InstallerSavePath(g_pCrawler->GetDataDir(), m_url, &refusal);
    if (!path.isEmpty() && !WriteFileAtomically(path, body, &refusal))
        refusal = InstallerSaveError(InstallerFileName(m_url), refusal);
    if (!refusal.isEmpty()) {
        Fail(refusal);
        return;
    }
    ReleaseDownloader();
    m_savedPath = path;
    m_bar.SetPos(100);
    EndSkinDialog(skin::kResultOk);
}

void CDownloadUpdateDlg::Fail(const QString& message) {
    ReleaseDownloader();
    MessageBox(message, u"Error"_s, skin::kMessageStop);
    EndSkinDialog(skin::kResultCancel);
}

void CDownloadUpdateDlg::ReleaseDownloader() {
    if (m_downloader) {
        m_downloader->SetReplyTimeLimits({});
        m_downloader->Release();
        m_downloader = nullptr;
    }
}

#include "skin/progress_box_dlg.h"

#include "skin/commands.h"
#include "skin/skin_atlas.h"
#include "skin/skin_constants.h"

#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
namespace cmd = skin::cmd;

namespace {

constexpr plat::Rect kInfoPicture = skin::AtlasRect("message.info");
constexpr int kPictureX = 20;
constexpr int kPictureY = 40;
// Message and bar start right of the picture, so neither runs over it.
constexpr int kTextLeft = kPictureX + kInfoPicture.width() + 10;
constexpr int kMessageTop = 45;
constexpr int kRightMargin = 20;
constexpr int kBarRightMargin = 27;
constexpr int kBarAboveBottom = 59;
constexpr int kMinMessageWidth = 200;
constexpr int kMinMessageHeight = 20;
constexpr int kBottomSpace = 104 - kMessageTop;

} // namespace

CProgressBoxDlg::CProgressBoxDlg(CSkinDlg_Base* parent, const QString& message, WorkerProc worker,
                                 int workerParam, int niceness)
    : CSkinDlg(parent), m_workerParam(workerParam), m_message(message), m_worker(std::move(worker)),
      m_niceness(niceness), m_uiThread(std::this_thread::get_id()) {
    m_maximizable = false;
    m_closable = false;
    m_minimizable = false;
}

CProgressBoxDlg::~CProgressBoxDlg() {
    if (m_thread.joinable())
        m_thread.join();
}

void CProgressBoxDlg::CreateElements() {
    m_title = u"Tarnwick 2.0"_s;
    m_label.CreateLabel(&m_rootHolder, ++m_nextElementId, m_message, kTextLeft, kMessageTop);
    m_width = qMax(m_label.m_width, kMinMessageWidth) + kTextLeft + kRightMargin;
    m_height = qMax(m_label.m_height, kMinMessageHeight) + kMessageTop + kBottomSpace;
    m_bar.Create(&m_rootHolder, ++m_nextElementId);
    m_rootHolder.SetResizeRule(&m_bar, kTextLeft, -kBarAboveBottom, -(kTextLeft + kBarRightMargin),
                               CSkinProgress::kHeight);
    m_bar.SetPosition(kTextLeft, m_height - kBarAboveBottom, m_width - kTextLeft - kBarRightMargin,
                      CSkinProgress::kHeight);
    m_startPending = true;
    setTimer(kTimerId, kTimerMs);
}

bool CProgressBoxDlg::OnCommand(const QString& command, int param) {
    // Only the worker ends the box.
    static constexpr QLatin1StringView kIgnored[] = {cmd::kOk,          cmd::kCancel,    cmd::kYes,
                                                     cmd::kNo,          cmd::kDefaultOk, cmd::kDefaultCancel,
                                                     cmd::kDefaultClose};
    for (const QLatin1StringView ignored : kIgnored)
        if (command == ignored)
            return true;
    return CSkinDlg::OnCommand(command, param);
}

void CProgressBoxDlg::DrawBackground(plat::DeviceContext& dc) {
    CSkinDlg::DrawBackground(dc);
    if (m_pAtlasDC)
        skin::DrawKeyedPiece(dc, kPictureX, kPictureY, *m_pAtlasDC, kInfoPicture);
}

void CProgressBoxDlg::OnTimer(unsigned id) {
    CSkinDlg::OnTimer(id);
    if (id != kTimerId || Result() != 0)
        return;
    if (m_startPending) {
        m_startPending = false;
        m_thread = std::thread([this] {
            if (m_niceness > 0) {
                // On Linux the niceness of a thread is its own.
                const int now = ::getpriority(PRIO_PROCESS, 0);
                ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), now + m_niceness);
            }
            m_worker(*this);
        });
        RedrawNow();
    }
    QString message;
    bool messageArrived = false;
    {
        std::lock_guard guard(m_messageLock);
        std::swap(messageArrived, m_messagePending);
        message = m_pendingMessage;
    }
    if (messageArrived)
        ShowMessage(message);
    // A value outside 0..100 (or not a number) must not reach the integer conversion.
    const float progress = m_progress.load();
    m_bar.SetPos(progress >= 0.0f ? static_cast<int>(qMin(progress, 100.0f)) : 0);
    if (m_done.load())
        EndSkinDialog(skin::kResultOk);
}

void CProgressBoxDlg::SetMessage(const QString& text) {
    if (std::this_thread::get_id() == m_uiThread) {
        ShowMessage(text);
        return;
    }
    std::lock_guard guard(m_messageLock);
    m_pendingMessage = text;
    m_messagePending = true;
}

void CProgressBoxDlg::ShowMessage(const QString& text) {
    m_message = text;
    m_label.SetText(text);
    RedrawNow();
}

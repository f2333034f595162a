#include "projects/kind1/project1_google_sugg_dlg.h"

#include "net/downloader.h"
#include "parsers/picture_code_prompt.h"
#include "skin/commands.h"
#include "skin/skin_constants.h"

#include <algorithm>

using namespace Qt::StringLiterals;
namespace cmd = skin::cmd;

namespace {

const QString kNewPictureCommand = u"prj1_captcha_new_picture"_s;

constexpr int kWidth = 360;
constexpr int kHeight = 270;
constexpr int kMargin = 20;
constexpr int kPictureTop = 45;
constexpr int kPictureHeight = 100;
constexpr int kPromptTop = 155;
constexpr int kFieldTop = 178;
constexpr int kFieldHeight = 25;
// Buttons stand right-aligned in the bottom band, this far apart.
constexpr int kButtonGap = 15;
constexpr int kButtonTopFromBottom = 45;
constexpr int kButtonWidth = 80;
constexpr int kWideButtonWidth = 110;

constexpr plat::ColorRef kPictureFrame = plat::Rgb(160, 190, 215);
constexpr plat::ColorRef kPictureBack = plat::Rgb(255, 255, 255);

} // namespace

CProject1_GoogleSuggDlg::CProject1_GoogleSuggDlg(CSkinDlg_Base* parent, const CDownloader& downloader)
    : CSkinDlg(parent) {
    m_width = kWidth;
    m_height = kHeight;
    m_title = u"Tarnwick 2.0 :: Picture code"_s;
    m_maximizable = false;
    m_minimizable = false;
    // Read straight from the reply: no file is written for it.
    m_pictureFailed = !m_picture.loadImageData(downloader.Response().raw);
}

CProject1_GoogleSuggDlg::~CProject1_GoogleSuggDlg() = default;

void CProject1_GoogleSuggDlg::CreateElements() {
    m_promptLabel.CreateLabel(&m_rootHolder, ++m_nextElementId,
                              u"Type the characters you see in the picture:"_s, kMargin, kPromptTop);
    m_promptLabel.SetFont(&m_font);
    m_codeEdit.Create(&m_rootHolder, ++m_nextElementId, QString(), false, false, QString(), QString());
    m_codeEdit.SetPosition(kMargin, kFieldTop, kWidth - 2 * kMargin, kFieldHeight);
    m_codeEdit.SetFocus();

    const int top = m_height - kButtonTopFromBottom;
    int right = m_width - kMargin;
    auto place = [&](CSkinButton& button, const QString& caption, const QString& command, int width) {
        button.Create(&m_rootHolder, ++m_nextElementId, caption, command);
        button.SetPosition(right - width, top, width, skin::kButtonHeight);
        right -= width + kButtonGap;
    };
    place(m_cancelButton, u"Cancel"_s, cmd::kCancel, kButtonWidth);
    place(m_newPictureButton, u"New picture"_s, kNewPictureCommand, kWideButtonWidth);
    place(m_okButton, u"OK"_s, cmd::kOk, kButtonWidth);
}

bool CProject1_GoogleSuggDlg::OnCommand(const QString& command, int param) {
    if (command == cmd::kOk || command == cmd::kDefaultOk) {
        m_answer = m_codeEdit.GetText().trimmed();
        EndSkinDialog(skin::kResultOk);
    } else if (command == kNewPictureCommand) {
        m_answer = QString::fromUtf16(kPictureCodeRetry);
        EndSkinDialog(skin::kResultOk);
    } else if (command == cmd::kCancel || command == cmd::kDefaultCancel) {
        EndSkinDialog(skin::kResultCancel);
    } else {
        return CSkinDlg::OnCommand(command, param);
    }
    return true;
}

plat::Rect CProject1_GoogleSuggDlg::PictureArea() const {
    return plat::Rect::fromXywh(kMargin, kPictureTop, m_width - 2 * kMargin, kPictureHeight);
}

void CProject1_GoogleSuggDlg::DrawBackground(plat::DeviceContext& dc) {
    CSkinDlg::DrawBackground(dc);
    const plat::Rect area = PictureArea();
    dc.fillSolidRect(area, kPictureBack);
    dc.frameRect(area, kPictureFrame);
    if (m_pictureFailed)
        return;
    // Centred, scaled down only when it does not fit inside the frame.
    const int roomWidth = area.width() - 2;
    const int roomHeight = area.height() - 2;
    const double scale =
        std::min({1.0, double(roomWidth) / m_picture.width(), double(roomHeight) / m_picture.height()});
    const int w = std::max(1, int(m_picture.width() * scale));
    const int h = std::max(1, int(m_picture.height() * scale));
    dc.stretchBlt(area.left + 1 + (roomWidth - w) / 2, area.top + 1 + (roomHeight - h) / 2, w, h, m_picture,
                  0, 0, m_picture.width(), m_picture.height());
}

void InstallGoogleSuggPrompt() {
    InstallPictureCodePrompt([](CSkinDlg_Base* parent, const CDownloader& downloader, QString& answer) {
        CProject1_GoogleSuggDlg dialog(parent, downloader);
        const int result = dialog.DoModal();
        answer = dialog.m_answer;
        return result == skin::kResultOk ? kPictureCodeOk : kPictureCodeCancel;
    });
}

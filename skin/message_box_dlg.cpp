#include "skin/message_box_dlg.h"

#include "skin/commands.h"
#include "skin/skin_atlas.h"
#include "skin/skin_constants.h"

using namespace Qt::StringLiterals;
namespace cmd = skin::cmd;

namespace {

constexpr int kIconLeft = 20;
constexpr int kIconTop = 40;
constexpr int kSettleMs = 100;

// The buttons of a button set, left to right, and the width the box then needs at least.
struct ButtonSet {
    int count;
    QLatin1StringView captions[3];
    QLatin1StringView commands[3];
    int leastWidth;
};

ButtonSet ButtonsOf(unsigned type) {
    switch (type & 0x0F) {
    case skin::kMessageOk:
        return {1, {"OK"_L1}, {cmd::kOk}, 260};
    case skin::kMessageOkCancel:
        return {2, {"OK"_L1, "Cancel"_L1}, {cmd::kOk, cmd::kCancel}, 360};
    case skin::kMessageYesNoCancel:
        return {3, {"Yes"_L1, "No"_L1, "Cancel"_L1}, {cmd::kYes, cmd::kNo, cmd::kCancel}, 460};
    case skin::kMessageYesNo:
        return {2, {"Yes"_L1, "No"_L1}, {cmd::kYes, cmd::kNo}, 360};
    default:
        return {0, {}, {}, 0};
    }
}

// The icon's picture; a type with an icon of another value is laid out beside an empty place.
const plat::Rect* IconOf(unsigned type) {
    static constexpr plat::Rect kStop = skin::AtlasRect("message.stop");
    static constexpr plat::Rect kQuestion = skin::AtlasRect("message.question");
    static constexpr plat::Rect kInfo = skin::AtlasRect("message.info");
    switch (type & 0xF0) {
    case skin::kMessageStop:
        return &kStop;
    case skin::kMessageQuestion:
        return &kQuestion;
    case skin::kMessageExclamation:
    case skin::kMessageInformation:
        return &kInfo;
    default:
        return nullptr;
    }
}

} // namespace

CMessageBoxDlg::CMessageBoxDlg(CSkinDlg_Base* parent, const QString& text, const QString& caption,
                               unsigned type)
    : CSkinDlg(parent), m_text(text), m_caption(caption), m_type(type) {
    m_maximizable = false;
    m_closable = false;
    m_minimizable = false;
}

CMessageBoxDlg::~CMessageBoxDlg() = default;

void CMessageBoxDlg::CreateElements() {
    m_title = m_caption;
    m_textLabel.CreateLabel(&m_rootHolder, ++m_nextElementId, m_text);
    m_textLabel.SetFont(&m_font);
    const int icon = (m_type & 0xF0) != 0 ? 1 : 0;
    // The label is one pixel larger than its text each way.
    const int w = m_textLabel.m_width - 1;
    const int h = m_textLabel.m_height - 1;
    int width = w + 67 + 64 * icon;
    int height = qMax(h + 10, 40) + 95;
    // One or two lines stand centred on the icon; a taller text starts level with its top.
    m_textLabel.SetPosition(50 + 48 * icon, 40 + qMax(0, (40 - h) / 2), m_textLabel.m_width,
                            m_textLabel.m_height);

    if (m_showNeverAgain) {
        m_neverAgain = false;
        m_neverAgainBox.Create(&m_rootHolder, ++m_nextElementId, u" Do not show this message again. "_s,
                               cmd::kNeverAgain);
        m_neverAgainBox.SetStyle(1);
        m_neverAgainBox.SetPosition(20 + 64 * icon, height - 45, m_neverAgainBox.m_width,
                                    m_neverAgainBox.m_height);
        height += 27;
    }

    const ButtonSet set = ButtonsOf(m_type);
    width = qMax(width, set.leastWidth);
    CSkinButton* buttons[] = {&m_button1, &m_button2, &m_button3};
    const QString* replacements[] = {&m_button1Text, &m_button2Text, &m_button3Text};
    static constexpr int kOffsets[3][3] = {{-45, 0, 0}, {-95, 5, 0}, {-140, -45, 50}};
    for (int i = 0; i < set.count; ++i) {
        CSkinButton& button = *buttons[i];
        const QString caption = replacements[i]->isEmpty() ? QString(set.captions[i]) : *replacements[i];
        button.Create(&m_rootHolder, ++m_nextElementId, caption, set.commands[i]);
        button.SetPosition(width / 2 + kOffsets[set.count - 1][i], height - 45, m_buttonWidth,
                           skin::kButtonHeight);
    }

    if (!m_footerText.isEmpty()) {
        m_footerLabel.CreateLabel(&m_rootHolder, ++m_nextElementId, m_footerText);
        m_footerLabel.SetFont(&m_font);
        m_footerLabel.SetPosition(30, height - 6, m_footerLabel.m_width, m_footerLabel.m_height);
        width = qMax(width, m_footerLabel.m_width - 1 + 57);
        height += 27;
    }

    m_width = width;
    m_height = height;
    setTimer(kSettleTimer, kSettleMs);
}

void CMessageBoxDlg::OnTimer(unsigned id) {
    CSkinDlg::OnTimer(id);
    if (id == kSettleTimer) {
        killTimer(kSettleTimer);
        RedrawNow();
    }
}

void CMessageBoxDlg::DrawBackground(plat::DeviceContext& dc) {
    CSkinDlg::DrawBackground(dc);
    const plat::Rect* icon = IconOf(m_type);
    if (icon && m_pAtlasDC) {
        dc.transparentBlt(kIconLeft, kIconTop, icon->width(), icon->height(), *m_pAtlasDC, icon->left,
                          icon->top, icon->width(), icon->height(), plat::Rgb(255, 0, 255));
    }
}

bool CMessageBoxDlg::OnCommand(const QString& command, int param) {
    if (command == cmd::kNeverAgain)
        m_neverAgain = m_neverAgainBox.m_checked;
    if (command == cmd::kOk) {
        EndSkinDialog(skin::kResultOk);
    } else if (command == cmd::kCancel) {
        EndSkinDialog(skin::kResultCancel);
    } else if (command == cmd::kYes) {
        EndSkinDialog(skin::kResultYes);
    } else if (command == cmd::kNo) {
        EndSkinDialog(skin::kResultNo);
    } else if (command == cmd::kDefaultOk) {
        // Enter answers the first button when it says OK or Yes; otherwise it does nothing.
        if (m_button1.m_command == cmd::kOk)
            EndSkinDialog(skin::kResultOk);
        else if (m_button1.m_command == cmd::kYes)
            EndSkinDialog(skin::kResultYes);
    } else if (command == cmd::kDefaultCancel || command == cmd::kDefaultClose) {
        EndSkinDialog(skin::kResultCancel);
    } else {
        return CSkinDlg_Base::OnCommand(command, param);
    }
    return true;
}

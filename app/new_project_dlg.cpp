#include "app/new_project_dlg.h"

#include "net/crawler.h"
#include "platform/beep.h"
#include "skin/band_buttons.h"
#include "skin/button_images.h"
#include "skin/commands.h"
#include "skin/skin_atlas.h"
#include "skin/skin_constants.h"

using namespace Qt::StringLiterals;
namespace cmd = skin::cmd;

namespace {

constexpr int kKindCount = 8;
constexpr int kKindsPerRow = 4;
constexpr plat::Size kKindButtonSize{120, 159};
constexpr int kKindButtonPitch = 155;
constexpr int kKindRowsWidth = 585;
constexpr int kFirstRowTop = 60;
constexpr int kSecondRowTop = 254;

// The kind's page beside its picture.
constexpr int kPageLeft = 180;
constexpr int kPageTop = 60;
constexpr int kPageWidth = 460;
constexpr plat::Point kPagePicture{30, 60};

// Between the two rows of kinds.
constexpr int kSeparatorWidth = 460;
constexpr int kSeparatorTop = 236;

constexpr plat::ColorRef kLineColor = plat::Rgb(212, 222, 229);
constexpr plat::Rect kLogo = skin::AtlasRect("logo.wordmark");
constexpr std::array<plat::Rect, kKindCount> kKindPictures = {
    skin::AtlasRect("wizard.kind1"), skin::AtlasRect("wizard.kind2"), skin::AtlasRect("wizard.kind3"),
    skin::AtlasRect("wizard.kind4"), skin::AtlasRect("wizard.kind5"), skin::AtlasRect("wizard.kind6"),
    skin::AtlasRect("wizard.kind7"), skin::AtlasRect("wizard.kind8")};

const QString kClearHistoryQuestion = u"Are you sure you want to clear all history?"_s;
const QString kKeywordListCommand = u"_edit_keyword"_s;
const QString kKeywordValueCommand = u"keyword_"_s;
// Puts another kind's page in place of the one shown; no element of the wizard sends it.
constexpr QLatin1StringView kChangeProject{"change_project"};

// The start-with-login switch runs the monitoring kind; the other switch preselects the sixth kind.
constexpr char16_t kStartWithLoginSwitch[] = u"--GoProject4";
constexpr int kStartWithLoginKind = 4;
constexpr int kPreselectSwitchKind = 5;

} // namespace

CNewProjectDlg::CNewProjectDlg(CSkinDlg_Base* parent, const ProjectFactory& makeProject) : CSkinDlg(parent) {
    m_width = kWidth;
    m_height = kHeight;
    m_maximizable = false;
    m_closable = false;
    m_minimizable = false;
    for (int kind = 1; kind <= kKindCount && makeProject; ++kind) {
        const int id = g_pCrawler ? g_pCrawler->TakeProjectId() : 0;
        m_projects.push_back(makeProject(kind, id));
    }
    m_kindButtons = std::vector<CSkinIcoButton>(m_projects.size());
}

CNewProjectDlg::~CNewProjectDlg() {
    // A page still standing leaves with its kind, before the wizard's own elements go.
    if (ValidKind(m_current))
        m_projects[size_t(m_current)]->DestroyWizardPage();
    m_projects.clear();
}

std::unique_ptr<CProject> CNewProjectDlg::TakeChosen() {
    if (Result() != skin::kResultOk || !ValidKind(m_current))
        return nullptr;
    return std::move(m_projects[size_t(m_current)]);
}

void CNewProjectDlg::CreateElements() {
    for (const auto& project : m_projects)
        if (project)
            project->InitInfo();
    if (g_pCrawler) {
        const QString& commandLine = g_pCrawler->m_cmdLine;
        if (commandLine.contains(QString::fromUtf16(kPreselectKindSwitch)))
            m_preselect = kPreselectSwitchKind;
        if (commandLine.contains(QString::fromUtf16(kStartWithLoginSwitch)))
            m_preselect = kStartWithLoginKind;
    }
    SetTitle(u"Tarnwick 2.0 :: New Project"_s);

    for (size_t i = 0; i < m_kindButtons.size(); ++i) {
        CSkinIcoButton& button = m_kindButtons[i];
        const int column = int(i) % kKindsPerRow;
        const plat::Rect picture = kKindPictures[i % kKindPictures.size()];
        const CProject& project = *m_projects[i];
        button.CreateEx(&m_rootHolder, ++m_nextElementId, QString(), cmd::kShowProject, int(i),
                        project.m_name + u":  "_s + project.m_description, nullptr, 0,
                        CSkinIcoButton::kIconOnly | CSkinIcoButton::kNoBack | CSkinIcoButton::kFrameWhileHot);
        button.SetIconImages(skin::StateImages::Single(picture.topLeft(), picture.size()));
        button.m_transparentIcon = true;
        button.SetPosition((m_width - kKindRowsWidth) / 2 + kKindButtonPitch * column,
                           int(i) < kKindsPerRow ? kFirstRowTop : kSecondRowTop, kKindButtonSize.cx,
                           kKindButtonSize.cy, 0);
    }

    m_cancelButton.Create(&m_rootHolder, ++m_nextElementId, u"CANCEL"_s, cmd::kCancel);
    StyleSecondaryBandButton(m_cancelButton, *this);
    m_backButton.Create(&m_rootHolder, ++m_nextElementId, u"BACK"_s, cmd::kBack);
    StyleSecondaryBandButton(m_backButton, *this);
    m_startButton.Create(&m_rootHolder, ++m_nextElementId, u"START"_s, cmd::kOk);
    StyleMainBandButton(m_startButton, *this);

    const int startWidth = m_startButton.m_width;
    if (!ValidKind(m_preselect)) {
        m_preselect = -1;
        PlaceInBand(m_cancelButton, m_width - m_cancelButton.m_width - 34, m_height);
        const int backX = m_width - startWidth - m_backButton.m_width - 36;
        PlaceInBand(m_backButton, backX, m_height);
        PlaceInBand(m_startButton, backX + m_backButton.m_width + 15, m_height);
        m_backButton.SetVisible(false);
        m_startButton.SetVisible(false);
        return;
    }
    OnCommand(cmd::kShowProject, m_preselect);
    const int cancelX = m_width - startWidth - m_cancelButton.m_width - 36;
    PlaceInBand(m_cancelButton, cancelX, m_height);
    PlaceInBand(m_startButton, cancelX + m_cancelButton.m_width + 15, m_height);
    m_cancelButton.SetVisible(true);
    m_startButton.SetVisible(true);
    m_backButton.SetVisible(false);
}

bool CNewProjectDlg::OnCommand(const QString& command, int param) {
    if (command == cmd::kOk || command == cmd::kDefaultOk) {
        Accept();
        return true;
    }
    if (command == cmd::kCancel || command == cmd::kDefaultCancel || command == cmd::kDefaultClose) {
        if (m_current >= 0 && m_preselect < 0)
            ShowKindList();
        else
            EndSkinDialog(skin::kResultCancel);
        return true;
    }
    if (command == cmd::kShowProject) {
        ShowKindPage(param);
    } else if (command == kChangeProject) {
        ChangeKindPage(param);
    } else if (command == cmd::kBack) {
        ShowKindList();
    } else if (command == cmd::kMenuProject || command == cmd::kTabMain) {
    } else if (ValidKind(m_current)) {
        int value = param;
        if (command.contains(kKeywordListCommand) && !command.contains(kKeywordValueCommand) && param == 0)
            value = AskClearHistory();
        m_projects[size_t(m_current)]->OnCommand(command, value, this);
    }
    return CSkinDlg::OnCommand(command, param);
}

void CNewProjectDlg::Accept() {
    if (!ValidKind(m_current) || Result() != 0)
        return;
    QString error;
    if (m_projects[size_t(m_current)]->ValidateWizardPage(error))
        EndSkinDialog(skin::kResultOk);
    else if (!error.isEmpty())
        MessageBox(error, QString(), skin::kMessageOk | skin::kMessageInformation);
    else
        plat::Beep();
}

int CNewProjectDlg::AskClearHistory() {
    if (MessageBox(kClearHistoryQuestion, QString(), skin::kMessageYesNo | skin::kMessageQuestion) !=
        skin::kResultYes)
        return kHistoryKept;
    if (g_pCrawler)
        g_pCrawler->ClearKeywordHistory();
    return kHistoryCleared;
}

void CNewProjectDlg::BuildPage(int index) {
    m_current = index;
    const std::vector<CSkinDlgHolder_Element>& children = m_rootHolder.Children();
    CSkinElement* lastBefore = children.empty() ? nullptr : children.back().element;
    m_projects[size_t(index)]->CreateWizardPage(&m_rootHolder, &m_nextElementId, kPageLeft, kPageLeft,
                                                kPageTop, kPageWidth,
                                                index == m_preselect ? m_presetText : QString());
    // The page's first field, not the buttons made before it.
    if (lastBefore && m_current == index)
        m_rootHolder.FocusNext(lastBefore, false);
}

void CNewProjectDlg::ShowKindPage(int index) {
    // The page is only ever built from the list; a kind without a page may have ended the wizard already.
    if (!ValidKind(index) || m_current >= 0 || Result() != 0)
        return;
    SuspendPaint();
    for (CSkinIcoButton& button : m_kindButtons)
        button.SetVisible(false);
    m_cancelButton.SetVisible(false);
    m_backButton.SetVisible(true);
    m_startButton.SetVisible(true);
    BuildPage(index);
    RedrawNow();
}

void CNewProjectDlg::ChangeKindPage(int index) {
    if (m_current < 0) {
        // From the list this is a plain choice: the list must not stay under the page.
        ShowKindPage(index);
        return;
    }
    if (!ValidKind(index) || index == m_current || Result() != 0)
        return;
    SuspendPaint();
    m_projects[size_t(m_current)]->DestroyWizardPage();
    BuildPage(index);
    RedrawNow();
}

void CNewProjectDlg::ShowKindList() {
    if (!ValidKind(m_current))
        return;
    SuspendPaint();
    for (CSkinIcoButton& button : m_kindButtons)
        button.SetVisible(true);
    m_cancelButton.SetVisible(true);
    m_backButton.SetVisible(false);
    m_startButton.SetVisible(false);
    m_projects[size_t(m_current)]->DestroyWizardPage();
    m_current = -1;
    RedrawNow();
}

void CNewProjectDlg::OnKeyPressed(int vk) {
    if (m_current < 0 && vk >= '1' && vk < '1' + int(m_projects.size()))
        OnCommand(cmd::kShowProject, vk - '1');
}

void CNewProjectDlg::DrawBackground(plat::DeviceContext& dc) {
    CSkinDlg::DrawBackground(dc);
    dc.fillSolidRect(plat::Rect::fromXywh(4, m_height - kBandHeight, m_width - 8, 1), kLineColor);
    if (m_pAtlasDC) {
        if (ValidKind(m_current)) {
            const plat::Rect picture = kKindPictures[size_t(m_current) % kKindPictures.size()];
            dc.transparentBlt(kPagePicture.x, kPagePicture.y, picture.width(), picture.height(), *m_pAtlasDC,
                              picture.left, picture.top, picture.width(), picture.height(),
                              m_rootHolder.m_keyColor);
        }
        dc.transparentBlt(15, m_height - 43, kLogo.width(), kLogo.height(), *m_pAtlasDC, kLogo.left,
                          kLogo.top, kLogo.width(), kLogo.height(), m_rootHolder.m_keyColor);
    }
    if (m_current < 0)
        dc.fillSolidRect(
            plat::Rect::fromXywh((m_width - kSeparatorWidth) / 2, kSeparatorTop, kSeparatorWidth, 1),
            kLineColor);
}

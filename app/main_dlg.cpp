#include "app/main_dlg.h"

#include "app/about_dlg.h"
#include "app/main_window_size.h"
#include "app/preferences_dlg.h"
#include "app/tab_strip_layout.h"
#include "core/clock.h"
#include "net/crawler.h"
#include "platform/keys.h"
#include "platform/screens.h"
#include "resources/skin_resources.h"
#include "skin/button_images.h"
#include "skin/commands.h"
#include "skin/skin_atlas.h"
#include "skin/skin_constants.h"

using namespace Qt::StringLiterals;
namespace cmd = skin::cmd;

namespace {

const QString kTitle = u" Tarnwick 2.0 "_s;
const QString kVersion = u" 2.0 R18"_s;

constexpr int kToolbarTop = 29;
constexpr plat::Rect kToolbarBack = skin::AtlasRect("toolbar.back");
constexpr plat::Rect kToolbarWideBack = skin::AtlasRect("toolbar.wideBack");
constexpr int kToolbarButtonHeight = kToolbarBack.height();

constexpr plat::ColorRef kToolbarBand = plat::Rgb(243, 250, 255);
constexpr plat::ColorRef kToolbarLine = plat::Rgb(237, 240, 242);
// A quiet mark, still readable on the window's pale background.
constexpr plat::ColorRef kVersionColor = plat::Rgb(84, 112, 138);

// The project frame below the tab strip.
constexpr int kFrameLeft = 10;
constexpr int kFrameTop = 127;

// The busy icon of a tab: square frames stacked in the atlas.
constexpr plat::Rect kBusyStrip = skin::AtlasRect("tab.busy");
constexpr skin::AnimationStrip kBusyIcon{kBusyStrip.topLeft(),
                                         {kBusyStrip.width(), kBusyStrip.width()},
                                         true,
                                         kBusyStrip.height() / kBusyStrip.width()};

// A tab is this much wider than its caption and margins.
constexpr int kTabExtraWidth = 42;
constexpr int kTabStyleCurrent = 3;
constexpr int kTabStyleOther = 2;

} // namespace

CMainDlg::CMainDlg() = default;

CMainDlg::~CMainDlg() {
    // Projects first: their views are elements of this window and leave it as they go.
    for (auto& project : m_projects)
        project.reset();
    m_projects.clear();
    m_tabs.clear();
}

void CMainDlg::CreateToolbarButton(CSkinIcoButton& button, const QString& caption, const QString& command,
                                   int column, int x, int width) {
    button.CreateEx(&m_rootHolder, ++m_nextElementId, caption, command, 0, QString(), &m_toolbarDC, column,
                    CSkinIcoButton::kIconAbove);
    // The wider Options button shows a wider cut of the same back picture.
    const plat::Rect back = width == kToolbarWideBack.width() ? kToolbarWideBack : kToolbarBack;
    button.SetBackImages(skin::StateImages::Single(back.topLeft(), back.size()));
    button.SetPosition(x, kToolbarTop, width, kToolbarButtonHeight);
}

void CMainDlg::AddSkinButton(CRowButton& button, const QString& command, int param, const QString& tooltip,
                             int column, int cellSize, int& x, int y, qintptr value) {
    button.Create(&m_rootHolder, ++m_nextElementId, QString(), command, param, tooltip);
    const int left = column * cellSize;
    button.SetImages(left, 0, left, cellSize, left, 2 * cellSize, left, 3 * cellSize, cellSize, cellSize, -1);
    button.SetPosition(x + 6, y + 27, cellSize, cellSize);
    x += cellSize;
    button.m_value = value;
}

void CMainDlg::CreateElements() {
    m_title = kTitle;
    m_width = m_minWidth = MainWindowSize::kMinWidth;
    m_height = m_minHeight = MainWindowSize::kMinHeight;

    const qsizetype release = kVersion.indexOf(u" R"_s);
    m_versionLabel = release >= 0 ? u"Build "_s + kVersion.mid(release + 2) : QString();
    m_versionWidth = m_font.textExtent(m_versionLabel).cx;

    const plat::Rect desktop = plat::PrimaryScreenRect();
    const MainWindowSize size = MainWindowSize::For(desktop.size());
    m_width = size.width;
    m_height = size.height;
    m_minimizable = true;
    m_maximizable = true;

    setTimer(kWizardTimer, kWizardDelayMs);
    setTimer(kProjectTimer, kProjectTickMs);

    m_toolbarDC.loadImage(skin_resources::ToolbarPath());
    CreateToolbarButton(m_btnNew, u"New"_s, cmd::kNewProject, 0, 3, 80);
    CreateToolbarButton(m_btnOpen, u"Open"_s, cmd::kOpen, 1, 83, 80);
    CreateToolbarButton(m_btnSave, u"Save"_s, cmd::kSave, 2, 163, 80);
    CreateToolbarButton(m_btnPause, u"Pause"_s, cmd::kPause, 3, 243, 80);
    CreateToolbarButton(m_btnResume, u"Resume"_s, cmd::kResume, 4, 243, 80);
    m_btnResume.SetVisible(false);
    CreateToolbarButton(m_btnExport, u"Export"_s, cmd::kExport, 5, 323, 80);
    CreateToolbarButton(m_btnOptions, u"Options"_s, cmd::kPreferences, 6, 403, 81);
    CreateToolbarButton(m_btnHelp, u"Help"_s, cmd::kHelp, 7, m_width - 83, 80);
    m_rootHolder.SetResizeRule(&m_btnHelp, -83, kToolbarTop, 80, kToolbarButtonHeight);

    const auto makeScrollButton = [this](CSkinIcoButton& button, int param, const plat::Rect& icon) {
        button.CreateEx(&m_rootHolder, ++m_nextElementId, QString(), cmd::kMoveTabs, param, QString(),
                        nullptr, 0, CSkinIcoButton::kIconOnly);
        button.SetIconImages(skin::StateImages::Single(icon.topLeft(), icon.size()));
        button.m_transparentIcon = true;
        button.SetPosition(-1, -1, TabStripLayout::kScrollButton, TabStripLayout::kHeight);
        button.SetVisible(false);
    };
    makeScrollButton(m_btnTabsForward, 1, skin::AtlasRect("tabs.forward"));
    makeScrollButton(m_btnTabsBack, -1, skin::AtlasRect("tabs.back"));

    m_startMaximized = size.startMaximized;
}

void CMainDlg::OnSizeChanged(plat::SizeType sizeType) {
    CSkinDlg::OnSizeChanged(sizeType);
    // A narrower window (restored from maximised) must not leave the tab being worked in beyond the arrow:
    // the strip scrolls to it as it does when the current tab changes.
    m_laidOutCurrent = -1;
    LayoutTabs();
}

void CMainDlg::AddProject(std::unique_ptr<CProject> project) {
    project->CreateView(&m_rootHolder, &m_nextElementId);
    m_projects.push_back(std::move(project));
    m_tabs.emplace_back();
    m_curProject = int(m_projects.size()) - 1;
    LayoutTabs();
}

int CMainDlg::FindProjectOfKind(int kind) const {
    for (size_t i = 0; i < m_projects.size(); ++i)
        if (m_projects[i]->m_kind == kind)
            return int(i);
    return -1;
}

void CMainDlg::LayoutTabs() {
    SuspendPaint();
    std::vector<int> widths;
    widths.reserve(m_projects.size());
    for (size_t i = 0; i < m_projects.size(); ++i) {
        CProject& project = *m_projects[i];
        std::unique_ptr<CSkinButton>& tab = m_tabs[i];
        if (!tab) {
            tab = std::make_unique<CSkinButton>();
            tab->Create(&m_rootHolder, ++m_nextElementId, QString(), cmd::kShowProject, 0);
            tab->m_rightCommand = cmd::kShowProjectCloseMenu;
        }
        const bool current = int(i) == m_curProject;
        tab->SetStyle(current ? kTabStyleCurrent : kTabStyleOther);
        tab->SetText(project.m_tabTitle.isEmpty() ? project.m_name : project.m_tabTitle);
        widths.push_back(tab->m_textExtent.cx + tab->m_marginLeft + tab->m_marginRight + kTabExtraWidth);
        tab->m_param = int(i);
        tab->m_rightParam = int(i);
        project.ShowView(current ? CProject::kShowView : CProject::kHideView);
    }

    if (m_curProject != m_laidOutCurrent) {
        m_firstTab = TabStripLayout::FirstTabShowing(widths, m_firstTab, m_curProject, m_width);
        m_laidOutCurrent = m_curProject;
    }
    const TabStripLayout layout = TabStripLayout::Compute(widths, m_firstTab, m_width);
    m_firstTab = layout.firstTab;
    m_btnTabsBack.SetVisible(layout.backShown);
    m_btnTabsBack.SetPosition(TabStripLayout::kLeft, TabStripLayout::kTop, TabStripLayout::kScrollButton,
                              TabStripLayout::kHeight);
    m_btnTabsForward.SetVisible(layout.forwardShown);
    m_btnTabsForward.SetPosition(m_width - 2 * TabStripLayout::kScrollButton, TabStripLayout::kTop,
                                 TabStripLayout::kScrollButton, TabStripLayout::kHeight);
    for (size_t i = 0; i < m_tabs.size(); ++i) {
        const TabStripLayout::Tab& place = layout.tabs[i];
        m_tabs[i]->SetVisible(place.visible);
        if (place.visible)
            m_tabs[i]->SetPosition(place.x, TabStripLayout::kTop, place.width, TabStripLayout::kHeight);
    }

    if (ValidTab(m_curProject))
        m_projects[size_t(m_curProject)]->OnCommand(cmd::kMainDlgOnSize, 0, this);
    RedrawNow();
}

void CMainDlg::DrawBackground(plat::DeviceContext& dc) {
    CSkinDlg::DrawBackground(dc);
    dc.fillSolidRect(plat::Rect::fromXywh(3, 28, m_width - 6, 66), kToolbarBand);
    dc.fillSolidRect(plat::Rect::fromXywh(3, 94, m_width - 6, 1), kToolbarLine);
    if (ValidTab(m_curProject)) {
        m_rootHolder.DrawFrame(kFrameLeft, kFrameTop, m_width - 2 * kFrameLeft,
                               m_height - kFrameTop - kFrameLeft, dc);
        m_projects[size_t(m_curProject)]->DrawView(dc, this);
    }
    const plat::Font* previousFont = dc.selectFont(&m_font);
    const plat::ColorRef previousColor = dc.setTextColor(kVersionColor);
    dc.textOut(m_width - m_versionWidth - 4, m_height - 19, m_versionLabel);
    dc.setTextColor(previousColor);
    dc.selectFont(previousFont);
}

bool CMainDlg::onKeyDown(int key, unsigned modifiers, bool autoRepeat) {
    struct Shortcut {
        int key;
        QLatin1StringView command;
    };
    static constexpr Shortcut kShortcuts[] = {
        {'N', cmd::kNewProject}, {'S', cmd::kSave}, {'O', cmd::kOpen}, {'P', cmd::kPreferences}};
    if (modifiers & plat::kModControl) {
        for (const Shortcut& shortcut : kShortcuts) {
            if (shortcut.key != key)
                continue;
            // A held key must not pile up one dialog per repeat.
            if (!autoRepeat)
                OnCommand(shortcut.command, 0);
            return true;
        }
    }
    return CSkinDlg::onKeyDown(key, modifiers, autoRepeat);
}

void CMainDlg::OnTimer(unsigned id) {
    CSkinDlg::OnTimer(id);
    if (Result() != 0)
        return;
    if (id == kWizardTimer) {
        killTimer(kWizardTimer);
        OnCommand(m_btnNew.m_command, m_btnNew.m_param);
    } else if (id == kProjectTimer) {
        ProjectTick();
    } else if (id == kAboutTimer) {
        killTimer(kAboutTimer);
        CAboutDlg about(this);
        about.m_pAtlasDC = m_pAtlasDC;
        about.DoModal();
    } else if (id == kEstimatesTimer) {
        killTimer(kEstimatesTimer);
        MessageBox(u"Not implemented"_s);
    } else if (id == unsigned(skin::kTickTimerId)) {
        RepaintTabStrip();
    }
}

void CMainDlg::SetTabBusy(int index, bool busy) {
    CSkinButton* tab = m_tabs[size_t(index)].get();
    if (!tab)
        return;
    if (busy && !tab->m_frames.Running())
        tab->SetAnimation(kBusyIcon, false);
    else if (!busy && tab->m_frames.Running())
        tab->StopAnimation();
}

void CMainDlg::ProjectTick() {
    // A modal prompt inside a step runs without ticks until the step returns.
    killTimer(kProjectTimer);
    if (!g_pCrawler) {
        setTimer(kProjectTimer, kProjectTickMs);
        return;
    }
    CProjectCrawler& crawler = *g_pCrawler;
    crawler.GrowPool();
    const bool globalPause = crawler.IsPaused();
    crawler.SetCurrentJob(0);
    if (!globalPause) {
        for (size_t i = 0; i < m_projects.size(); ++i) {
            CProject* project = m_projects[i].get();
            const int heldBefore = crawler.CountJobDownloaders(project->m_id);
            crawler.SetCurrentJob(project->m_id);
            crawler.SetPaused(project->m_paused);
            project->Process();
            // A step may have closed projects through a command; only a project still in its place is marked.
            if (i >= m_projects.size() || m_projects[i].get() != project)
                continue;
            const bool busy = heldBefore >= 1 || crawler.GetRequestsThisTick() > 0;
            SetTabBusy(int(i), busy);
            project->m_busy = busy;
        }
    }
    crawler.SetCurrentJob(-1);
    crawler.SetPaused(globalPause);
    setTimer(kProjectTimer, kProjectTickMs);
}

void CMainDlg::RepaintTabStrip() {
    if (!isVisible() || PaintSuspended())
        return;
    const bool globalPause = g_pCrawler && g_pCrawler->IsPaused();
    const qint64 now = MonotonicMs();
    plat::Rect drawn;
    for (size_t i = 0; i < m_tabs.size(); ++i) {
        CSkinButton* tab = m_tabs[i].get();
        if (!tab || !tab->m_visible || !tab->m_frames.Running())
            continue;
        // Holding the frame clock at now keeps the icon on its frame.
        if (globalPause || m_projects[i]->m_paused)
            tab->m_frames.lastTime = now;
        const plat::Point at = tab->GetDialogPos();
        tab->Draw(backBuffer(), at.x, at.y, true);
        drawn = drawn.united(plat::Rect::fromXywh(at.x, at.y, tab->m_width, tab->m_height));
    }
    if (!drawn.isEmpty())
        showBackBuffer(drawn);
}

#include "app/preferences_dlg.h"

#include "app/preferences_regions.h"
#include "core/limits.h"
#include "core/platform_services.h"
#include "net/crawler.h"
#include "platform/native_edit.h"
#include "skin/band_buttons.h"
#include "skin/commands.h"
#include "skin/skin_atlas.h"
#include "skin/skin_constants.h"
#include "skin/skin_edit_int.h"
#include "skin/skin_menu_color_sel.h"

#include <QFile>
#include <algorithm>

using namespace Qt::StringLiterals;
namespace cmd = skin::cmd;

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 440;

constexpr QLatin1StringView kShowPanel{"show_pannel"};
constexpr QLatin1StringView kUpdateChecks{"upd_checks"};
constexpr QLatin1StringView kEditColor{"edit_GA_col"};
constexpr QLatin1StringView kGoToSuggestionTool{"go_to_wordtracker"};
constexpr QLatin1StringView kGoToKeywordService{"go_to_keyworddiscovery"};

constexpr plat::Rect kPicture = skin::AtlasRect("prefs.picture");
constexpr plat::Rect kLogo = skin::AtlasRect("logo.wordmark");
constexpr plat::ColorRef kBandLine = plat::Rgb(212, 222, 229);

// Tabs: wide pictures until a panel is chosen, then the narrower cut, lit for the panel shown.
constexpr skin::StateImages kTabImages =
    skin::AtlasStates("prefs.tab.normal", "prefs.tab.hot", "prefs.tab.normal", "prefs.tab.hot");
constexpr skin::StateImages kOtherTabImages = skin::AtlasStates(
    "prefs.narrowTab.normal", "prefs.narrowTab.hot", "prefs.narrowTab.normal", "prefs.narrowTab.hot");
constexpr skin::StateImages kShownTabImages = skin::AtlasStates(
    "prefs.narrowTab.hot", "prefs.narrowTab.hot", "prefs.narrowTab.normal", "prefs.narrowTab.hot");
constexpr plat::ColorRef kTabText = plat::Rgb(114, 114, 114);
constexpr plat::ColorRef kShownTabText = plat::Rgb(54, 54, 54);
constexpr int kTabX = 15;
constexpr int kTabWidth = 145;
constexpr int kTabGap = 5;
constexpr int kTabsEndAbove = 25;

constexpr int kPanelX = 160;
// Headings and captions start here inside a panel; the fields under a heading are indented.
constexpr int kPanelMargin = 10;
constexpr int kPanelY = 40;

constexpr int kFieldHeight = 25;
constexpr int kNumberWidth = 40;
constexpr int kAccountFieldWidth = 170;
constexpr int kColorFieldWidth = 60;
constexpr int kColorButtonSize = 25;

constexpr int kMinThreads = 4;
constexpr int kMinThreadsMarked = 1;

const QString kAccountNote = u"*you may experience problems under project #1 without a valid account"_s;

// Labels sit this much lower than the fields of their row, so their text lines up with the fields' text.
constexpr int kLabelDrop = 4;

QString ShownAccountName(const QString& stored) {
    return stored == QStringView(kAccountNeverEntered) ? QString() : stored;
}

// The name to store: a name never entered stays so while its field is left empty.
QString StoredAccountName(const QString& stored, const QString& typed) {
    return stored == QStringView(kAccountNeverEntered) && typed.isEmpty() ? stored : typed;
}

int PacingSeconds(const CSkinEdit& field) {
    return std::clamp(GetSkinEditInt(field), 0, limits::kMaxCourtesySeconds);
}

} // namespace

CPreferencesDlg::CPreferencesDlg(CSkinDlg_Base* parent, int firstPanel)
    : CSkinDlg(parent), m_firstPanel(firstPanel >= 0 && firstPanel < kPanelCount ? firstPanel : 0) {
    m_width = kWidth;
    m_height = kHeight;
    m_maximizable = false;
    m_closable = false;
    m_minimizable = false;
}

CPreferencesDlg::~CPreferencesDlg() = default;

CSkinLabel& CPreferencesDlg::AddLabel(CSkinDlgHolder& panel, const QString& text, int x, int y) {
    auto& label = m_labels.emplace_back(std::make_unique<CSkinLabel>());
    label->CreateLabel(&panel, ++m_nextElementId, text, x, y);
    return *label;
}

void CPreferencesDlg::CreateElements() {
    m_title = u"Tarnwick 2.0 :: Preferences"_s;
    const QString captions[kPanelCount] = {u"General"_s, u"Google Settings"_s, u"Yahoo Settings"_s,
                                           u"Bing/MSN Settings"_s, u"Publisher colors"_s};
    const int tabHeight = kTabImages.size.cy;
    const int firstTabY =
        m_height - 70 - kTabsEndAbove - kPanelCount * tabHeight - (kPanelCount - 1) * kTabGap;
    for (int i = 0; i < kPanelCount; ++i) {
        CSkinButton& tab = m_tabs[std::size_t(i)];
        tab.Create(&m_rootHolder, ++m_nextElementId, captions[i], kShowPanel, i);
        tab.SetImages(kTabImages, -1);
        tab.SetColors(0, 0, 1, &m_fontBold15, kTabText);
        tab.SetPosition(kTabX, firstTabY + i * (tabHeight + kTabGap), kTabWidth, tabHeight);
        CSkinDlgHolder& panel = m_panels[std::size_t(i)];
        panel.Create(&m_rootHolder, ++m_nextElementId);
        panel.SetPosition(kPanelX, kPanelY, m_width - 177, m_height - 110);
    }
    CreateGeneralPanel();
    CreateGooglePanel();
    const CProjectCrawler& crawler = *g_pCrawler;
    CreateServicePanel(m_panels[2], m_yahooRegion, kYahooRegions, crawler.Yahoo_Country,
                       u"Use Yahoo Search region: "_s, 170, 230, u"Yahoo Search Marketing"_s, m_yahoo,
                       crawler.YahooMarket_user, crawler.YahooMarket_pass);
    CreateServicePanel(m_panels[3], m_bingRegion, kBingRegions, crawler.MSN_Country,
                       u"Use Bing(MSN) Search country: "_s, 190, 210, u"MSN AdsCenter"_s, m_msn,
                       crawler.MSNAdCenter_user, crawler.MSNAdCenter_pass);
    CreatePublisherPanel();

    m_cancelButton.Create(&m_rootHolder, ++m_nextElementId, u"CANCEL"_s, cmd::kCancel);
    StyleSecondaryBandButton(m_cancelButton, *this);
    m_saveButton.Create(&m_rootHolder, ++m_nextElementId, u"SAVE"_s, cmd::kOk);
    StyleMainBandButton(m_saveButton, *this);
    const int cancelX = m_width - m_saveButton.m_width - m_cancelButton.m_width - 36;
    PlaceInBand(m_cancelButton, cancelX, m_height);
    PlaceInBand(m_saveButton, cancelX + m_cancelButton.m_width + 15, m_height);

    OnCommand(kUpdateChecks, 0);
    OnCommand(kShowPanel, m_firstPanel);
}

void CPreferencesDlg::CreatePacingRow(CSkinDlgHolder& panel, CSkinRadio& box, const QString& caption,
                                      bool checked, CSkinEdit& min, int minSeconds, CSkinEdit& max,
                                      int maxSeconds, int y) {
    box.Create(&panel, ++m_nextElementId, caption, kUpdateChecks);
    box.SetStyle(1);
    box.SetPosition(30, y + (kFieldHeight - box.m_height) / 2, box.m_width, box.m_height);
    box.m_checked = checked;
    int x = 180;
    const auto field = [&](CSkinEdit& edit, int seconds) {
        edit.Create(&panel, ++m_nextElementId, QString(), false, true, QString(), QString());
        edit.SetPosition(x, y, kNumberWidth, kFieldHeight);
        SetSkinEditInt(edit, seconds);
        x += kNumberWidth + 10;
    };
    const auto label = [&](const QString& text) {
        const CSkinLabel& added = AddLabel(panel, text, x, y + kLabelDrop);
        x += added.m_width + 10;
    };
    field(min, minSeconds);
    label(u"to"_s);
    field(max, maxSeconds);
    label(u"seconds"_s);
}

void CPreferencesDlg::CreateGeneralPanel() {
    const CProjectCrawler& crawler = *g_pCrawler;
    CSkinDlgHolder& panel = m_panels[0];
    const CSkinLabel& threads = AddLabel(panel, u"Select max number of threads:"_s, 30, 46);
    m_threads.Create(&panel, ++m_nextElementId);
    m_threads.SetPosition(threads.m_width + 50, 40, 170, CSkinSlider::kMinHeight);
    QFile marker(crawler.GetAppDir() + u"/onethread"_s);
    m_threads.m_minimum = marker.open(QIODevice::ReadOnly) ? kMinThreadsMarked : kMinThreads;
    // The pool may still be smaller than the least choice; the slider never runs backwards.
    m_threads.m_maximum = std::max(m_threads.m_minimum, int(crawler.GetDownloaders().size()));
    m_threads.m_position = std::clamp(crawler.allowMaxThreads, m_threads.m_minimum, m_threads.m_maximum);

    CreatePacingRow(panel, m_courtesy, u" Use SE courtesy "_s, crawler.allowCourtesy, m_courtesyMin,
                    crawler.courtesyMin, m_courtesyMax, crawler.courtesyMax, 85);
    CreatePacingRow(panel, m_articleCourtesy, u" Use Article courtesy "_s, crawler.allowArticleCourtesy,
                    m_articleCourtesyMin, crawler.articleCourtesyMin, m_articleCourtesyMax,
                    crawler.articleCourtesyMax, 125);
    m_autorun.Create(&panel, ++m_nextElementId, u" Automatically run Project #5 when I start my computer "_s);
    m_autorun.SetStyle(1);
    m_autorun.SetPosition(30, 165, m_autorun.m_width, m_autorun.m_height);
    m_autorun.m_checked = crawler.m_autorun;
}

void CPreferencesDlg::CreateRegionList(CSkinDlgHolder& panel, CSkinDropList& list, const RegionTable& table,
                                       const QString& current, const QString& caption, int x, int y,
                                       int width) {
    AddLabel(panel, caption, kPanelMargin, y + kLabelDrop);
    // The list ends inside the panel, however far its caption moved it.
    width = std::min(width, panel.m_width - 2 * panel.Inset() - x - kPanelMargin);
    list.Create(&panel, ++m_nextElementId, QString(), false, QString());
    list.SetPosition(x, y, width, CSkinDropList::kHeight);
    table.FillList(list, current);
}

int CPreferencesDlg::ListLeft(int x, std::initializer_list<QString> captions) {
    for (const QString& caption : captions)
        x = std::max(x, kPanelMargin + MeasureDC().getTextExtent(caption).cx + 6);
    return x;
}

void CPreferencesDlg::CreateAccountFields(CSkinDlgHolder& panel, const QString& service, Account& account,
                                          const QString& user, const QString& password, int top) {
    AddLabel(panel, u"Please enter your account info for %1 (optional*)"_s.arg(service), kPanelMargin, top);
    AddLabel(panel, kAccountNote, kPanelMargin, top + 20).SetFont(&m_fontSup);
    const auto field = [&](CSkinEdit& edit, const QString& caption, const QString& text, unsigned style,
                           int y) {
        AddLabel(panel, caption, 30, y + kLabelDrop);
        edit.Create(&panel, ++m_nextElementId, text, false, false, QString(), QString(), style);
        edit.SetPosition(120, y, kAccountFieldWidth, kFieldHeight);
    };
    field(account.user, u"User name:"_s, ShownAccountName(user), 0, top + 50);
    field(account.password, u"Password:"_s, password, plat::kEditPassword, top + 85);
}

void CPreferencesDlg::CreateGooglePanel() {
    const CProjectCrawler& crawler = *g_pCrawler;
    CSkinDlgHolder& panel = m_panels[1];
    const QString region = u"Use Google Adwords region: "_s;
    const QString language = u"Use Google Adwords Language: "_s;
    const int x = ListLeft(200, {region, language});
    CreateRegionList(panel, m_googleRegion, kGoogleRegions, crawler.Google_Country, region, x, 30, 200);
    CreateRegionList(panel, m_googleLanguage, kGoogleLanguages, crawler.Google_Language, language, x, 60,
                     200);
    CreateAccountFields(panel, u"Google Adwords"_s, m_google, crawler.GoogleAdwords_user,
                        crawler.GoogleAdwords_pass, 115);
}

void CPreferencesDlg::CreateServicePanel(CSkinDlgHolder& panel, CSkinDropList& list, const RegionTable& table,
                                         const QString& current, const QString& caption, int x, int width,
                                         const QString& service, Account& account, const QString& user,
                                         const QString& password) {
    CreateRegionList(panel, list, table, current, caption, ListLeft(x, {caption}), 30, width);
    CreateAccountFields(panel, service, account, user, password, 85);
}

void CPreferencesDlg::CreatePublisherPanel() {
    const CProjectCrawler& crawler = *g_pCrawler;
    CSkinDlgHolder& panel = m_panels[4];
    AddLabel(panel, u"Google Adsense account information:"_s, kPanelMargin, 20).SetFont(&m_fontBold15);
    const auto idField = [&](CSkinEdit& edit, const QString& caption, const QString& text,
                             const QString& note, int y) {
        AddLabel(panel, caption, 30, y + kLabelDrop);
        edit.Create(&panel, ++m_nextElementId, text, false, false, QString(), QString());
        edit.SetPosition(120, y, kAccountFieldWidth, kFieldHeight);
        AddLabel(panel, note, 300, y + kLabelDrop);
    };
    idField(m_adsenseClient, u"Client ID:"_s, crawler.GoogleAdsense_client, u"(required)"_s, 50);
    idField(m_adsenseChannel, u"Channel ID:"_s, crawler.GoogleAdsense_channel, u"(optional)"_s, 85);
    AddLabel(panel, u"These settings will be used for Google AdSense and Yahoo Publisher"_s, kPanelMargin,
             135);
    AddLabel(panel, u"(all settings are optional - leave blank to use defaults)"_s, kPanelMargin, 155);

    const struct {
        const char16_t* caption;
        const QString& value;
        int column;
        int row;
    } colors[kColorCount] = {
        {u"Border:", crawler.GoogleAdsense_border, 0, 0}, {u"Background:", crawler.GoogleAdsense_bg, 0, 1},
        {u"Link:", crawler.GoogleAdsense_link, 1, 0},     {u"Text:", crawler.GoogleAdsense_text, 1, 1},
        {u"URL:", crawler.GoogleAdsense_url, 1, 2},
    };
    constexpr int kLabelX[] = {kPanelMargin, 230};
    constexpr int kFieldX[] = {90, 270};
    constexpr int kButtonX[] = {160, 340};
    for (int i = 0; i < kColorCount; ++i) {
        const auto& c = colors[i];
        const int y = 195 + c.row * 35;
        AddLabel(panel, QString::fromUtf16(c.caption), kLabelX[c.column], y + kLabelDrop);
        CSkinEdit& field = m_colors[std::size_t(i)];
        field.Create(&panel, ++m_nextElementId, c.value, false, false, QString(), QString(),
                     plat::kEditUpperCase);
        field.SetPosition(kFieldX[c.column], y, kColorFieldWidth, kFieldHeight);
        CSkinButton& button = m_colorButtons[std::size_t(i)];
        button.Create(&panel, ++m_nextElementId, u"..."_s, kEditColor, i);
        button.SetPosition(kButtonX[c.column], y, kColorButtonSize, kColorButtonSize);
    }
}

bool CPreferencesDlg::OnCommand(const QString& command, int param) {
    if (command == kUpdateChecks) {
        UpdateChecks();
    } else if (command == kShowPanel) {
        ShowPanel(param);
    } else if (command == kEditColor) {
        EditColor(param);
    } else if (command == kGoToSuggestionTool) {
        OpenOutsidePage(kSuggestionToolUrl);
    } else if (command == kGoToKeywordService) {
        OpenOutsidePage(kKeywordServiceUrl);
    } else if (command == cmd::kOk || command == cmd::kDefaultOk) {
        if (!Save())
            return true;
        EndSkinDialog(skin::kResultOk);
    } else if (command == cmd::kCancel || command == cmd::kDefaultCancel) {
        g_pCrawler->SaveSettings();
        EndSkinDialog(skin::kResultCancel);
    }
    return CSkinDlg::OnCommand(command, param);
}

void CPreferencesDlg::UpdateChecks() {
    m_courtesyMin.SetEnabled(m_courtesy.m_checked);
    m_courtesyMax.SetEnabled(m_courtesy.m_checked);
    m_articleCourtesyMin.SetEnabled(m_articleCourtesy.m_checked);
    m_articleCourtesyMax.SetEnabled(m_articleCourtesy.m_checked);
}

void CPreferencesDlg::ShowPanel(int shown) {
    if (shown < 0 || shown >= kPanelCount)
        return;
    for (int i = 0; i < kPanelCount; ++i) {
        CSkinButton& tab = m_tabs[std::size_t(i)];
        tab.SetImages(i == shown ? kShownTabImages : kOtherTabImages, -1);
        // New pictures bring their own margins; the captions keep none.
        tab.SetColors(0, 0, 1, nullptr, i == shown ? kShownTabText : kTabText);
        m_panels[std::size_t(i)].SetVisible(i == shown);
    }
}

void CPreferencesDlg::EditColor(int index) {
    if (index < 0 || index >= kColorCount)
        return;
    CSkinEdit& field = m_colors[std::size_t(index)];
    CSkinMenuColorSel picker(this, &m_colorButtons[std::size_t(index)], field.GetText());
    if (picker.DoModal() == skin::kResultOk)
        field.SetText(picker.m_color);
}

void CPreferencesDlg::OpenOutsidePage(const QString& url) {
    OpenUrlInBrowser(url, true);
}

bool CPreferencesDlg::Save() {
    if (m_googleRegion.GetText().startsWith(u'-')) {
        MessageBox(u"Please select your desired Google Adwords region"_s, QString(),
                   skin::kMessageExclamation);
        return false;
    }
    CProjectCrawler& crawler = *g_pCrawler;
    crawler.allowMaxThreads = m_threads.m_position;
    // The ranges of a switched-off pacing keep their stored values.
    crawler.allowCourtesy = m_courtesy.m_checked;
    if (crawler.allowCourtesy) {
        crawler.courtesyMin = PacingSeconds(m_courtesyMin);
        crawler.courtesyMax = PacingSeconds(m_courtesyMax);
    }
    crawler.allowArticleCourtesy = m_articleCourtesy.m_checked;
    if (crawler.allowArticleCourtesy) {
        crawler.articleCourtesyMin = PacingSeconds(m_articleCourtesyMin);
        crawler.articleCourtesyMax = PacingSeconds(m_articleCourtesyMax);
    }
    crawler.m_autorun = m_autorun.m_checked;
    crawler.GoogleAdsense_client = m_adsenseClient.GetText();
    crawler.GoogleAdsense_channel = m_adsenseChannel.GetText();

    const struct {
        QString& user;
        QString& password;
        const Account& fields;
    } accounts[] = {{crawler.GoogleAdwords_user, crawler.GoogleAdwords_pass, m_google},
                    {crawler.YahooMarket_user, crawler.YahooMarket_pass, m_yahoo},
                    {crawler.MSNAdCenter_user, crawler.MSNAdCenter_pass, m_msn}};
    for (const auto& account : accounts) {
        account.user = StoredAccountName(account.user, account.fields.user.GetText());
        account.password = account.fields.password.GetText();
    }

    crawler.Google_Country = kGoogleRegions.EntryFor(m_googleRegion.GetText(), crawler.Google_Country);
    crawler.Google_Language = kGoogleLanguages.EntryFor(m_googleLanguage.GetText(), u"en;English"_s);
    crawler.Yahoo_Country = kYahooRegions.EntryFor(m_yahooRegion.GetText(), u"US_United States"_s);
    crawler.MSN_Country =
        kBingRegions.EntryFor(m_bingRegion.GetText(), u"83:en-US:United States - English"_s);

    QString* colors[kColorCount] = {&crawler.GoogleAdsense_border, &crawler.GoogleAdsense_bg,
                                    &crawler.GoogleAdsense_link, &crawler.GoogleAdsense_text,
                                    &crawler.GoogleAdsense_url};
    for (int i = 0; i < kColorCount; ++i)
        *colors[i] = m_colors[std::size_t(i)].GetText();
    return true;
}

void CPreferencesDlg::DrawBackground(plat::DeviceContext& dc) {
    CSkinDlg::DrawBackground(dc);
    if (m_pAtlasDC) {
        skin::DrawKeyedPiece(dc, 41, 55, *m_pAtlasDC, kPicture);
        skin::DrawKeyedPiece(dc, 15, m_height - 43, *m_pAtlasDC, kLogo);
    }
    dc.fillSolidRect(plat::Rect{4, m_height - kBandHeight, m_width - 4, m_height - kBandHeight + 1},
                     kBandLine);
}

#include "app/preferences_dlg.h"
#include "core/atomic_file.h"
#include "core/headless_platform_services.h"
#include "net/crawler_autostart.h"
#include "net/saved_file.h"
#include "skin/message_box_dlg.h"
#include "skin/skin_constants.h"
#include "skin/skin_menu_color_sel.h"
#include "tests/app/app_test_support.h"
#include "tests/support/modal_script.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_printers.h"
#include "tests/support/window_events.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Node = CDownloader_HTMLTags;
using skintest::ClickOn;

namespace {

const QString kFirstTime = QString::fromUtf16(kAccountNeverEntered);

// What the user does in one run of the dialogs (the preferences, then the pickers and message boxes it
// opens), and what those showed.
struct Script {
    std::function<void(CPreferencesDlg&)> preferences;
    std::function<void(CSkinMenuColorSel&)> picker;
    // Each message box shown, as "caption|text|type"; answered with its first button.
    QStringList messages;
};

class Preferences : public ::testing::Test {
  protected:
    Preferences() {
        CProjectCrawler& crawler = Crawler();
        // As after the first project tick: the pool holds the thread count and four slots more.
        crawler.GrowPool();
        crawler.MSNAdCenter_user = u"bob"_s;
        crawler.MSNAdCenter_pass = u"hunter2"_s;
        crawler.Yahoo_Country = u"DE_Germany"_s;
        crawler.GoogleAdsense_border = u"112233"_s;
    }
    CProjectCrawler& Crawler() { return *m_window.crawler.crawler; }
    QString SettingsFile() { return Crawler().GetDataDir() + u"/settings.zxml"_s; }
    QString AutostartFile() { return apptest::TemporaryFolders(m_window.crawler.root).autostartFile; }

    // Runs the Options button of the main window with the script.
    void RunOptions(Script& script) {
        skintest::ModalScript hook([&](CSkinDlg_Base& w) {
            if (auto* box = dynamic_cast<CMessageBoxDlg*>(&w)) {
                script.messages << box->m_caption + u'|' + box->m_text + u'|' + QString::number(box->m_type);
                ClickOn(*box, box->m_button1);
            } else if (auto* picker = dynamic_cast<CSkinMenuColorSel*>(&w)) {
                script.picker(*picker);
            } else if (auto* preferences = dynamic_cast<CPreferencesDlg*>(&w)) {
                script.preferences(*preferences);
            }
        });
        skintest::ClickElement(m_window.dlg, m_window.dlg.m_btnOptions);
    }

    // Replaces the text of a field as the user does: click, select all, type.
    static void Type(CPreferencesDlg& d, CSkinEdit& field, const QString& text) {
        ClickOn(d, field);
        ASSERT_NE(field.Native(), nullptr);
        QTest::keyClick(d.widget()->windowHandle(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(d.widget()->windowHandle(), Qt::Key_Delete);
        for (const QChar c : text)
            QTest::keyClick(d.widget()->windowHandle(), c.toLatin1());
    }
    static void ShowPanel(CPreferencesDlg& d, int panel) { ClickOn(d, d.m_tabs[std::size_t(panel)]); }
    static void Choose(CSkinDropList& list, const QString& shown) {
        const int index = list.FindItem(shown);
        ASSERT_GE(index, 0) << shown.toStdString();
        list.PickFromPopup(index);
    }

    // The values of the settings file's keys, by name.
    std::map<QString, QString> SavedValues() {
        Node document;
        EXPECT_TRUE(LoadTreeFromFile(document, SettingsFile()));
        std::map<QString, QString> values;
        const Node* root = document.FindFirst(u"ProjectCrawler"_s);
        if (!root)
            return values;
        for (const Node& child : root->GetChildren()) {
            if (child.IsTextNode())
                continue;
            QString value;
            Node::GetString(&child, value);
            values[child.GetTagName(false)] = value;
        }
        return values;
    }

    apptest::OpenMainWindow m_window;
};

} // namespace

// Every kind of field changed and saved through the Options button: the file then holds each value under
// its key. A pacing range typed while its box was on and then switched off keeps
// its stored value; an account never entered stays so while its field is empty; colours are upper case,
// one picked in the picker.
TEST_F(Preferences, SaveStoresEveryKindOfFieldInTheSettingsFile) {
    Script script;
    script.picker = [](CSkinMenuColorSel& picker) {
        skintest::ClickAt(picker, {31 + 5 * 10 + 4, 25 + 2 * 10 + 4});
    };
    script.preferences = [&](CPreferencesDlg& d) {
        EXPECT_EQ(d.m_threads.m_maximum, 10);
        ClickOn(d, d.m_threads);
        QTest::keyClick(d.widget()->windowHandle(), Qt::Key_End);
        QTest::keyClick(d.widget()->windowHandle(), Qt::Key_Left);
        EXPECT_FALSE(d.m_courtesyMin.m_enabled);
        ClickOn(d, d.m_courtesy);
        EXPECT_TRUE(d.m_courtesyMin.m_enabled);
        Type(d, d.m_courtesyMin, u"5"_s);
        Type(d, d.m_courtesyMax, u"9"_s);
        Type(d, d.m_articleCourtesyMin, u"7"_s);
        ClickOn(d, d.m_articleCourtesy);
        EXPECT_FALSE(d.m_articleCourtesyMin.m_enabled || d.m_articleCourtesyMax.m_enabled);
        ClickOn(d, d.m_autorun);

        ShowPanel(d, 1);
        EXPECT_TRUE(d.m_panels[1].m_visible && !d.m_panels[0].m_visible);
        EXPECT_TRUE(d.m_google.user.GetText().isEmpty());
        Choose(d.m_googleRegion, u"Switzerland"_s);
        Choose(d.m_googleLanguage, u"TW;Chinese (traditional)"_s);
        Type(d, d.m_google.user, u"ads@example.test"_s);
        Type(d, d.m_google.password, u"p&ss <w>"_s);

        ShowPanel(d, 2);
        Choose(d.m_yahooRegion, u"-----------------------------"_s);
        ShowPanel(d, 3);
        EXPECT_EQ(d.m_msn.user.GetText(), u"bob"_s);
        Choose(d.m_bingRegion, u"Germany"_s);
        Type(d, d.m_msn.user, QString());

        ShowPanel(d, 4);
        Type(d, d.m_adsenseClient, u"pub-1234"_s);
        ClickOn(d, d.m_colorButtons[0]);
        Type(d, d.m_colors[2], u"ab12cd"_s);
        ClickOn(d, d.m_saveButton);
    };
    RunOptions(script);
    EXPECT_TRUE(script.messages.isEmpty()) << script.messages.join(u'\n').toStdString();

    std::map<QString, QString> saved = SavedValues();
    const std::map<QString, QString> expected = {
        {u"allowMaxThreads"_s, u"9"_s},
        {u"allowCourtesy"_s, u"true"_s},
        {u"courtesyMin"_s, u"5"_s},
        {u"courtesyMax"_s, u"9"_s},
        {u"GoogleAdwords_user"_s, u"ads@example.test"_s},
        {u"GoogleAdwords_pass"_s, u"p&ss <w>"_s},
        {u"YahooMarket_user"_s, kFirstTime},
        {u"MSNAdCenter_user"_s, QString()},
        {u"MSNAdCenter_pass"_s, u"hunter2"_s},
        {u"GoogleAdsense_client"_s, u"pub-1234"_s},
        {u"GoogleAdsense_border"_s, u"00FF66"_s},
        {u"GoogleAdsense_link"_s, u"AB12CD"_s},
        {u"Google_Country"_s, u"CH_Switzerland"_s},
        {u"Google_Language"_s, u"zh_TW;Chinese (traditional)"_s},
        {u"Yahoo_Country"_s, u"US_United States"_s},
        {u"MSN_Country"_s, u"71:de-DE:Germany"_s},
        {u"allowArticleCourtesy"_s, u"false"_s},
        {u"articleCourtesyMin"_s, u"2"_s},
        {u"articleCourtesyMax"_s, u"3"_s},
    };
    for (const auto& [key, value] : expected)
        EXPECT_EQ(saved[key], value) << key.toStdString();
    QByteArray entry;
    ASSERT_TRUE(ReadWholeFile(AutostartFile(), entry));
    EXPECT_EQ(entry,
              AutostartEntryText(apptest::TemporaryFolders(m_window.crawler.root).executable).toUtf8());
}

// A pacing range typed upside down ("from 9 to 2 seconds") is saved and used the right way round, and a
// settings file holding one upside down is read so too.
TEST_F(Preferences, APacingRangeUpsideDownIsTurnedRound) {
    Script script;
    script.preferences = [&](CPreferencesDlg& d) {
        ClickOn(d, d.m_courtesy);
        Type(d, d.m_courtesyMin, u"9"_s);
        Type(d, d.m_courtesyMax, u"2"_s);
        ClickOn(d, d.m_saveButton);
    };
    RunOptions(script);
    EXPECT_TRUE(script.messages.isEmpty()) << script.messages.join(u'\n').toStdString();
    EXPECT_EQ(Crawler().courtesyMin, 2);
    EXPECT_EQ(Crawler().courtesyMax, 9);
    std::map<QString, QString> saved = SavedValues();
    EXPECT_EQ(saved[u"courtesyMin"_s], u"2"_s);
    EXPECT_EQ(saved[u"courtesyMax"_s], u"9"_s);

    QByteArray bytes = apptest::FileBytes(SettingsFile());
    bytes.replace("<articleCourtesyMin>2<", "<articleCourtesyMin>8<");
    bytes.replace("<articleCourtesyMax>3<", "<articleCourtesyMax>1<");
    ASSERT_TRUE(WriteFileAtomically(SettingsFile(), bytes));
    Crawler().LoadSettings();
    EXPECT_EQ(Crawler().articleCourtesyMin, 1);
    EXPECT_EQ(Crawler().articleCourtesyMax, 8);
}

// CANCEL writes the settings as they were, whatever was changed; switching the start-with-login box off
// and saving removes the entry.
TEST_F(Preferences, CancelWritesTheSettingsAsTheyWereAndTheEntryFollowsTheBox) {
    Crawler().m_autorun = true;
    ASSERT_TRUE(Crawler().SaveSettings());
    ASSERT_TRUE(QFile::exists(AutostartFile()));
    QByteArray before;
    ASSERT_TRUE(ReadWholeFile(SettingsFile(), before));
    ASSERT_TRUE(QFile::remove(SettingsFile()));

    Script script;
    script.preferences = [&](CPreferencesDlg& d) {
        EXPECT_TRUE(d.m_autorun.m_checked);
        ClickOn(d, d.m_autorun);
        ClickOn(d, d.m_courtesy);
        Type(d, d.m_courtesyMin, u"44"_s);
        ShowPanel(d, 1);
        Type(d, d.m_google.user, u"someone"_s);
        ClickOn(d, d.m_cancelButton);
    };
    RunOptions(script);
    QByteArray after;
    ASSERT_TRUE(ReadWholeFile(SettingsFile(), after));
    EXPECT_EQ(after, before);
    EXPECT_TRUE(QFile::exists(AutostartFile()));

    script.preferences = [&](CPreferencesDlg& d) {
        ClickOn(d, d.m_autorun);
        ClickOn(d, d.m_saveButton);
    };
    RunOptions(script);
    EXPECT_FALSE(Crawler().m_autorun);
    EXPECT_FALSE(QFile::exists(AutostartFile()));
    EXPECT_TRUE(script.messages.isEmpty());
}

// The preferences command opens on the panel its parameter names (the Options button on the first); a panel
// that does not exist opens the first. Only the panel shown is visible, and its tab is the lit one.
TEST_F(Preferences, TheCommandsParameterChoosesThePanelShownFirst) {
    for (const auto& [param, panel] : {std::pair{3, 3}, {4, 4}, {0, 0}, {5, 0}, {-1, 0}, {99, 0}}) {
        QString seen;
        std::vector<plat::ColorRef> tabColors;
        skintest::ModalScript hook([&](CSkinDlg_Base& w) {
            auto& d = dynamic_cast<CPreferencesDlg&>(w);
            for (int i = 0; i < CPreferencesDlg::kPanelCount; ++i) {
                if (d.m_panels[std::size_t(i)].m_visible)
                    seen += QString::number(i);
                tabColors.push_back(d.m_tabs[std::size_t(i)].m_textColor);
            }
            ClickOn(d, d.m_cancelButton);
        });
        m_window.dlg.OnCommand(u"preferences"_s, param);
        EXPECT_EQ(seen, QString::number(panel)) << param;
        ASSERT_EQ(tabColors.size(), std::size_t(CPreferencesDlg::kPanelCount));
        for (int i = 0; i < CPreferencesDlg::kPanelCount; ++i)
            EXPECT_EQ(tabColors[std::size_t(i)] == tabColors[std::size_t(panel)], i == panel)
                << param << " " << i;
    }
}

// The two keyword-research pages open in the browser (on placeholder hosts of a reserved domain), each
// once, and the dialog stays open.
TEST_F(Preferences, TheKeywordResearchPagesOpenInTheBrowser) {
    DefaultPlatformServices().Clear();
    Script script;
    int resultAfterOpening = -1;
    script.preferences = [&](CPreferencesDlg& d) {
        d.OnCommand(u"go_to_wordtracker"_s, 0);
        d.OnCommand(u"go_to_keyworddiscovery"_s, 0);
        resultAfterOpening = d.Result();
        ClickOn(d, d.m_cancelButton);
    };
    RunOptions(script);
    EXPECT_EQ(resultAfterOpening, 0);
    // The browser is started off the user-interface thread.
    EXPECT_TRUE(QTest::qWaitFor([] { return DefaultPlatformServices().OpenedUrls().size() >= 2; }, 3000));
    QStringList opened = DefaultPlatformServices().OpenedUrls();
    opened.sort();
    EXPECT_EQ(opened,
              QStringList({CPreferencesDlg::kSuggestionToolUrl, CPreferencesDlg::kKeywordServiceUrl}));
    for (const QString& url : opened) {
        const QUrl page(url);
        EXPECT_EQ(page.scheme(), u"https"_s) << url.toStdString();
        EXPECT_TRUE(page.host().endsWith(u".example"_s)) << url.toStdString();
    }
}

// A separator chosen as Google region is refused with a message; the dialog stays open and stores nothing
// until a region is chosen.
TEST_F(Preferences, ASeparatorAsGoogleRegionIsRefused) {
    Script script;
    int resultAfterRefusal = -1;
    script.preferences = [&](CPreferencesDlg& d) {
        ShowPanel(d, 1);
        Choose(d.m_googleRegion, u"-----------------------------"_s);
        Type(d, d.m_google.user, u"refused"_s);
        ClickOn(d, d.m_saveButton);
        resultAfterRefusal = d.Result();
        QTest::keyClick(d.widget()->windowHandle(), Qt::Key_Escape);
    };
    RunOptions(script);
    EXPECT_EQ(resultAfterRefusal, 0);
    EXPECT_EQ(script.messages,
              QStringList{u"Tarnwick 2.0|Please select your desired Google Adwords region|%1"_s.arg(
                  skin::kMessageExclamation)});
    EXPECT_EQ(Crawler().GoogleAdwords_user, kFirstTime);
    EXPECT_EQ(Crawler().Google_Country, u"US_United States"_s);
}

// A settings file that cannot be written is reported once after the dialog, whichever button closed it;
// saves the user did not ask for stay silent.
TEST_F(Preferences, ASettingsFileThatCannotBeWrittenIsReportedOnce) {
    ASSERT_TRUE(QDir().mkpath(SettingsFile())); // a folder where the file should be
    for (const bool save : {true, false}) {
        Script script;
        script.preferences = [&](CPreferencesDlg& d) {
            ClickOn(d, save ? d.m_saveButton : d.m_cancelButton);
        };
        RunOptions(script);
        EXPECT_EQ(script.messages,
                  QStringList{u"Critical error|Cannot save settings.|%1"_s.arg(skin::kMessageStop)});
    }
    Script silent;
    skintest::ModalScript hook([&](CSkinDlg_Base&) { silent.messages << u"shown"_s; });
    Crawler().AddKeywordToHistory(u"keyword"_s, true);
    Crawler().ClearKeywordHistory();
    EXPECT_TRUE(silent.messages.isEmpty());
}

// The thread slider runs from 4 (1 with the marker file in the program folder) to the pool's size, never
// below its start, and shows a stored count outside that range at the nearest end.
TEST(PreferencesThreads, TheSliderRangeFollowsTheMarkerAndThePool) {
    const struct {
        bool marker;
        int pool;
        int stored;
        int minimum;
        int maximum;
        int position;
    } cases[] = {
        {false, 10, 6, 4, 10, 6}, {true, 10, 6, 1, 10, 6}, {false, 10, 40, 4, 10, 10},
        {true, 2, 1, 1, 2, 1},    {false, 2, 6, 4, 4, 4},
    };
    for (const auto& c : cases) {
        apptest::CrawlerFixture fixture;
        CProjectCrawler& crawler = *fixture.crawler;
        if (c.marker) {
            QFile marker(crawler.GetAppDir() + u"/onethread"_s);
            ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
        }
        crawler.Shutdown();
        crawler.allowMaxThreads = c.pool;
        crawler.CreatePool();
        crawler.allowMaxThreads = c.stored;
        CPreferencesDlg dlg(nullptr);
        dlg.onInitDialog();
        EXPECT_EQ(dlg.m_threads.m_minimum, c.minimum) << c.marker << " " << c.pool;
        EXPECT_EQ(dlg.m_threads.m_maximum, c.maximum) << c.marker << " " << c.pool;
        EXPECT_EQ(dlg.m_threads.m_position, c.position) << c.marker << " " << c.pool;
        skin::HostWindow(dlg).hide();
        dlg.onDestroy();
    }
}

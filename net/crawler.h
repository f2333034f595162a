#pragma once

#include "core/history_drop_list.h"
#include "net/crawler_default.h"
#include "net/html_tags.h"

#include <QString>
#include <QStringList>

class CMainDlg;

// The value of an account user name that was never entered; the preferences show it as an empty field.
inline constexpr char16_t kAccountNeverEntered[] = u"##first time";

// The first item of a keyword drop list that holds the history: choosing it offers to clear the history.
inline constexpr char16_t kClearHistoryItem[] = u"-- Clear history --";

// The command-line switch that makes the new-project wizard preselect the sixth kind.
inline constexpr char16_t kPreselectKindSwitch[] = u"--GoProject5";

// The one crawler object: the base's pool state and cookie jar, plus the program-wide settings with their
// file "settings.zxml" in the data folder, the start-with-login entry and the keyword history.
class CProjectCrawler : public CProjectCrawlerDefault {
  public:
    explicit CProjectCrawler(CrawlerFolders folders);
    // Saves the settings (when they were loaded).
    ~CProjectCrawler() override;

    // The base part, then LoadSettings.
    void Init() override;
    // Reads the settings file and whether the start-with-login entry exists. A missing file (the first
    // start) leaves every setting at its default. So does a file that is there but cannot be read, or that
    // holds no settings: the user is told once, and the file is never written over (see SaveSettings).
    void LoadSettings() override;
    // Writes the settings file: the settings element alone, with the elements inside it that are not
    // settings kept; and writes or removes the start-with-login entry. Does nothing before LoadSettings ran:
    // a start that failed early must not replace the user's settings with defaults. A file that could not
    // be read is left as it is (false); one that held more than the settings, or none, is first kept aside
    // once under kDamagedSettingsSuffix.
    bool SaveSettings() override;
    bool GetCourtesy(const QString& service, int& min, int& max) override;

    // Puts keyword first; an older entry equal to it ignoring case goes, and only the newest 30 are kept.
    void AddKeywordToHistory(const QString& keyword, bool save);
    void ClearKeywordHistory();
    // Fills a keyword drop list: "-- Clear history --" and then the history, the first item selected
    // without a notification and the list's text kept; an empty history leaves the list empty.
    void FillHistoryCombo(HistoryDropList& list) const;
    // Newest first.
    const QStringList& GetKeywordHistory() const { return m_keywordHistory; }

    // The command line the program was started with (after the executable); the main window removes the
    // start-with-login switch from it once it has acted on it.
    QString m_cmdLine;

    // Start with the user's login.
    bool m_autorun = false;

    // The main window, set by the start-up while the window exists (none before and after). Only held
    // here: the network layer never reaches into it.
    CMainDlg* m_mainWnd = nullptr;

    // Accounts of the ad services' web interfaces.
    QString GoogleAdwords_user = QString::fromUtf16(kAccountNeverEntered);
    QString GoogleAdwords_pass;
    QString YahooMarket_user = QString::fromUtf16(kAccountNeverEntered);
    QString YahooMarket_pass;
    QString MSNAdCenter_user = QString::fromUtf16(kAccountNeverEntered);
    QString MSNAdCenter_pass;

    // Ad units of the content pages.
    QString GoogleAdsense_client;
    QString GoogleAdsense_channel;
    QString GoogleAdsense_border;
    QString GoogleAdsense_bg;
    QString GoogleAdsense_link;
    QString GoogleAdsense_text;
    QString GoogleAdsense_url;

    // Search regions and language.
    QString Google_Country = QStringLiteral("US_United States");
    QString Google_Language = QStringLiteral("en;English");
    QString Yahoo_Country = QStringLiteral("US_United States");
    QString MSN_Country = QStringLiteral("83:en-US:United States - English");

    // The content-page wizard's last choices.
    int adsenseLastPrjType = 0;
    QString adsenseLastTemplateFile;
    QString adsenseLastDestDir;

    // Pacing of the article directories.
    bool allowArticleCourtesy = true;
    int articleCourtesyMin = 2;
    int articleCourtesyMax = 3;

    // The user's account at the keyword data service, sent as the query values "email" and "sn".
    QString m_accountEmail;
    QString m_accountKey;

    // Added to the settings file's name for the file kept aside when it held something besides the
    // settings, or no settings at all ("-2", "-3", ... after it when that name is taken).
    static inline const QString kDamagedSettingsSuffix = QStringLiteral(".damaged");

  private:
    // What became of the settings file at load, and so what a save may do with it.
    enum class SettingsFile {
        NotLoaded,  // LoadSettings has not run: nothing is written
        Usable,     // absent, or read and holding the settings alone: written over
        KeepAside,  // read, and holding more than the settings or none: moved aside before the write
        Unreadable, // there and not readable: never written over
    };

    QString SettingsPath() const;
    // Fills m_settingsDoc with the settings element of the file and sets m_settingsFile.
    void ReadSettingsFile();
    // A name beside the settings file that nothing has.
    QString DamagedSettingsPath() const;
    // Moves the settings file aside; true when it is gone from its place.
    bool KeepSettingsFileAside() const;

    QString m_autostartFile;
    QString m_executable;
    QStringList m_keywordHistory;
    // The settings document as loaded; saving writes into it so unknown elements survive.
    CDownloader_HTMLTags m_settingsDoc;
    SettingsFile m_settingsFile = SettingsFile::NotLoaded;
};

// The one crawler, created by the start-up and deleted at exit.
extern CProjectCrawler* g_pCrawler;

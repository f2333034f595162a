#include "core/atomic_file.h"
#include "core/limits.h"
#include "core/platform_services.h"
#include "net/crawler.h"
#include "net/crawler_autostart.h"
#include "net/crawler_settings_file.h"
#include "net/saved_file.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <utility>
#include <variant>

using namespace Qt::StringLiterals;

namespace {

using Node = CDownloader_HTMLTags;

struct SettingKey {
    const char16_t* name;
    std::variant<int CProjectCrawler::*, bool CProjectCrawler::*, QString CProjectCrawler::*> member;
    // For integers and booleans; a missing text keeps the member's value.
    int defaultValue = 0;
};

// The keys in file order. The last two hold the keyword data service's account.
const SettingKey kSettingKeys[] = {
    {u"allowMaxThreads", &CProjectCrawler::allowMaxThreads, 6},
    {u"allowCourtesy", &CProjectCrawler::allowCourtesy, false},
    {u"courtesyMin", &CProjectCrawler::courtesyMin, 0},
    {u"courtesyMax", &CProjectCrawler::courtesyMax, 3},
    {u"GoogleAdwords_user", &CProjectCrawler::GoogleAdwords_user},
    {u"GoogleAdwords_pass", &CProjectCrawler::GoogleAdwords_pass},
    {u"YahooMarket_user", &CProjectCrawler::YahooMarket_user},
    {u"YahooMarket_pass", &CProjectCrawler::YahooMarket_pass},
    {u"MSNAdCenter_user", &CProjectCrawler::MSNAdCenter_user},
    {u"MSNAdCenter_pass", &CProjectCrawler::MSNAdCenter_pass},
    {u"GoogleAdsense_client", &CProjectCrawler::GoogleAdsense_client},
    {u"GoogleAdsense_channel", &CProjectCrawler::GoogleAdsense_channel},
    {u"GoogleAdsense_border", &CProjectCrawler::GoogleAdsense_border},
    {u"GoogleAdsense_bg", &CProjectCrawler::GoogleAdsense_bg},
    {u"GoogleAdsense_link", &CProjectCrawler::GoogleAdsense_link},
    {u"GoogleAdsense_text", &CProjectCrawler::GoogleAdsense_text},
    {u"GoogleAdsense_url", &CProjectCrawler::GoogleAdsense_url},
    {u"Google_Country", &CProjectCrawler::Google_Country},
    {u"Google_Language", &CProjectCrawler::Google_Language},
    {u"Yahoo_Country", &CProjectCrawler::Yahoo_Country},
    {u"MSN_Country", &CProjectCrawler::MSN_Country},
    {u"adsenseLastPrjType", &CProjectCrawler::adsenseLastPrjType, 0},
    {u"adsenseLastTemplateFile", &CProjectCrawler::adsenseLastTemplateFile},
    {u"adsenseLastDestDir", &CProjectCrawler::adsenseLastDestDir},
    {u"allowArticleCourtesy", &CProjectCrawler::allowArticleCourtesy, true},
    {u"articleCourtesyMin", &CProjectCrawler::articleCourtesyMin, 2},
    {u"articleCourtesyMax", &CProjectCrawler::articleCourtesyMax, 3},
    {u"KeywordService_email", &CProjectCrawler::m_accountEmail},
    {u"KeywordService_key", &CProjectCrawler::m_accountKey},
};

constexpr char16_t kRootName[] = u"ProjectCrawler";
constexpr char16_t kHistoryName[] = u"hist_str";

// Finds the direct child named name or appends it; an element found keeps its content. An element whose end
// tag was missing in a damaged file is replaced by one with an end tag: written without one, it would not
// hold its values when read back.
Node* FindOrCreateChild(Node& parent, const QString& name) {
    Node* found = parent.FindChild(name);
    if (!found)
        return parent.AddChild(name, false);
    if (!found->IsClosed()) {
        Node holder;
        Node* closed = holder.AddChild(found->GetTagName(false), false);
        closed->GetChildren() = std::move(found->GetChildren());
        *found = std::move(*closed);
    }
    return found;
}

// Removes every direct child named name, with the white space that stood before it.
void RemoveChildren(Node& parent, const QString& name) {
    std::vector<Node>& children = parent.GetChildren();
    std::vector<Node> kept;
    kept.reserve(children.size());
    for (Node& child : children) {
        if (child.IsElementNamed(name)) {
            if (!kept.empty() && kept.back().IsTextNode() && kept.back().GetText().trimmed().isEmpty())
                kept.pop_back();
            continue;
        }
        kept.push_back(std::move(child));
    }
    children = std::move(kept);
}

void ClampSetting(int& value, int lowest, int highest) {
    value = std::clamp(value, lowest, highest);
}

// A range typed "from 9 to 2" means from 2 to 9.
void OrderRange(int& lower, int& upper) {
    if (lower > upper)
        std::swap(lower, upper);
}

} // namespace

QString CProjectCrawler::DamagedSettingsPath() const {
    const QString base = SettingsPath() + kDamagedSettingsSuffix;
    QString path = base;
    struct stat info {};
    for (int n = 2; ::lstat(QFile::encodeName(path).constData(), &info) == 0; ++n)
        path = base + u'-' + QString::number(n);
    return path;
}

bool CProjectCrawler::KeepSettingsFileAside() const {
    const QByteArray from = QFile::encodeName(SettingsPath());
    const QByteArray to = QFile::encodeName(DamagedSettingsPath());
    // A file that is gone already has nothing left to lose.
    return std::rename(from.constData(), to.constData()) == 0 || errno == ENOENT;
}

void CProjectCrawler::ReadSettingsFile() {
    m_settingsDoc = Node();
    m_settingsFile = SettingsFile::Usable;
    if (m_dataDir.isEmpty())
        return;
    QByteArray bytes;
    QString error;
    switch (ReadFileOrAbsent(SettingsPath(), bytes, &error)) {
    case FileReadResult::Absent:
        return;
    case FileReadResult::Unreadable:
        m_settingsFile = SettingsFile::Unreadable;
        ShowUserNotice(u"Tarnwick 2.0 could not read its settings (%1). It runs with the default settings "
                       u"and leaves the settings file as it is."_s.arg(error));
        return;
    case FileReadResult::Read:
        break;
    }
    switch (TakeSettingsElement(bytes, QString::fromUtf16(kRootName), m_settingsDoc)) {
    case SettingsFileContent::Nothing:
    case SettingsFileContent::SettingsAlone:
        break;
    case SettingsFileContent::SettingsAndMore:
        m_settingsFile = SettingsFile::KeepAside;
        break;
    case SettingsFileContent::NoSettings:
        m_settingsFile = SettingsFile::KeepAside;
        ShowUserNotice(
            u"The settings file %1 holds no settings. Tarnwick 2.0 runs with the default settings "
            u"and keeps that file as %2 when it saves them."_s.arg(SettingsPath(), DamagedSettingsPath()));
        break;
    }
}

void CProjectCrawler::LoadSettings() {
    ReadSettingsFile();
    Node empty;
    // Only direct children count: a key of the same name inside another element is not a setting.
    Node* root = m_settingsDoc.FindChild(kRootName);
    Node& settings = root ? *root : empty;
    for (const SettingKey& key : kSettingKeys) {
        const Node* value = settings.FindChild(key.name);
        if (auto member = std::get_if<int CProjectCrawler::*>(&key.member))
            Node::GetInt(value, this->*(*member), key.defaultValue);
        else if (auto flag = std::get_if<bool CProjectCrawler::*>(&key.member))
            Node::GetBool(value, this->*(*flag), key.defaultValue != 0);
        else
            Node::GetString(value, this->*std::get<QString CProjectCrawler::*>(key.member));
    }
    // The file is outside input: a thread count or a gap out of range would starve or flood the pool.
    ClampSetting(allowMaxThreads, limits::kMinThreadCount, limits::kMaxThreadCount);
    for (int* seconds : {&courtesyMin, &courtesyMax, &articleCourtesyMin, &articleCourtesyMax})
        ClampSetting(*seconds, 0, limits::kMaxCourtesySeconds);
    OrderRange(courtesyMin, courtesyMax);
    OrderRange(articleCourtesyMin, articleCourtesyMax);

    m_keywordHistory.clear();
    for (const Node& child : settings.GetChildren()) {
        if (child.IsElementNamed(kHistoryName)) {
            QString entry;
            Node::GetString(&child, entry);
            m_keywordHistory.append(entry);
        }
    }

    m_autorun = !m_autostartFile.isEmpty() && HasAutostartEntry(m_autostartFile);
}

bool CProjectCrawler::SaveSettings() {
    if (m_settingsFile == SettingsFile::NotLoaded)
        return false;
    OrderRange(courtesyMin, courtesyMax);
    OrderRange(articleCourtesyMin, articleCourtesyMax);
    Node* settings = FindOrCreateChild(m_settingsDoc, QString::fromUtf16(kRootName));
    for (const SettingKey& key : kSettingKeys) {
        Node* value = FindOrCreateChild(*settings, QString::fromUtf16(key.name));
        if (auto member = std::get_if<int CProjectCrawler::*>(&key.member))
            value->SetInt(this->*(*member));
        else if (auto flag = std::get_if<bool CProjectCrawler::*>(&key.member))
            value->SetBool(this->*(*flag));
        else
            value->SetText(this->*std::get<QString CProjectCrawler::*>(key.member));
    }
    RemoveChildren(*settings, QString::fromUtf16(kHistoryName));
    for (const QString& entry : m_keywordHistory)
        settings->AddChild(QString::fromUtf16(kHistoryName), false)->SetText(entry);

    if (m_settingsFile == SettingsFile::KeepAside && !m_dataDir.isEmpty() && KeepSettingsFileAside())
        m_settingsFile = SettingsFile::Usable;
    // The file holds the ad services' passwords.
    bool saved = m_settingsFile == SettingsFile::Usable && !m_dataDir.isEmpty() &&
                 SaveTreeToFile(m_settingsDoc, SettingsPath(), FileAccess::UserOnly);
    if (!m_autostartFile.isEmpty()) {
        const bool entryDone = m_autorun ? WriteAutostartEntry(m_autostartFile, m_executable)
                                         : RemoveAutostartEntry(m_autostartFile);
        saved = saved && entryDone;
    }
    return saved;
}

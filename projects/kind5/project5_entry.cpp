#include "projects/kind5/project5_entry.h"

#include "core/packed_minutes.h"
#include "net/html_tags.h"
#include "net/http_url.h"
#include "projects/kind5/project5_xml.h"

using namespace Qt::StringLiterals;

namespace {

const QString kDateKey = u"m_date"_s;
const QString kPositionKeys[CProject5_Check::kEngineCount] = {u"m_google"_s, u"m_bing"_s, u"m_yahoo"_s};
const QString kKeywordKey = u"m_keyword"_s;
const QString kSiteKey = u"m_site"_s;
const QString kCheckKey = u"check"_s;
// What a check reads: its date, its positions in engine order, and a check inside it (which shows that its
// end tag was lost).
const QString kCheckReads[] = {kDateKey, kPositionKeys[0], kPositionKeys[1], kPositionKeys[2], kCheckKey};

} // namespace

QDate CProject5_Check::Day() const {
    return UnpackMinutes(m_date).date();
}

void CProject5_Check::WriteXml(CDownloader_HTMLTags& node) const {
    node.AddChild(kDateKey, true)->SetInt(m_date);
    for (int engine = 0; engine < kEngineCount; ++engine)
        node.AddChild(kPositionKeys[engine], true)->SetInt(m_positions[engine]);
    m_failed.WriteXml(node);
}

bool CProject5_Check::ReadXml(const CDownloader_HTMLTags& node) {
    const CDownloader_HTMLTags* found[std::size(kCheckReads)];
    node.FindChildren(kCheckReads, found);
    const CDownloader_HTMLTags* date = found[0];
    bool whole = project5::IsWholeValue(date) && !found[1 + kEngineCount];
    m_date = project5::ReadIntValue(date, 0);
    for (int engine = 0; engine < kEngineCount; ++engine) {
        const CDownloader_HTMLTags* value = found[1 + engine];
        whole = whole && project5::IsWholeValue(value);
        const int position = project5::ReadIntValue(value, task_value::kNoData);
        m_positions[engine] = position < 0 ? task_value::kNoData : position;
    }
    m_failed.ReadXml(&node);
    return whole;
}

const CProject5_Check* CProject5_Entry::LastCheck() const {
    return m_checks.empty() ? nullptr : &m_checks.back();
}

const CProject5_Check* CProject5_Entry::LastCheckOn(const PackedMinutesDay& day) const {
    for (auto it = m_checks.rbegin(); it != m_checks.rend(); ++it)
        if (day.Contains(it->m_date))
            return &*it;
    return nullptr;
}

int CProject5_Entry::ComparePair(const CProject5_Entry& other) const {
    const int site = m_site.compare(other.m_site, Qt::CaseSensitive);
    return site != 0 ? site : m_keyword.compare(other.m_keyword, Qt::CaseInsensitive);
}

void CProject5_Entry::WriteXml(CDownloader_HTMLTags& node) const {
    node.AddChild(kKeywordKey, true)->SetText(m_keyword);
    node.AddChild(kSiteKey, true)->SetText(m_site);
    for (const CProject5_Check& check : m_checks)
        check.WriteXml(*node.AddChild(kCheckKey, false));
}

bool CProject5_Entry::ReadXml(const CDownloader_HTMLTags& node) {
    // An entry inside this one shows that this one's end tag was lost.
    const QString reads[] = {kKeywordKey, kSiteKey, kElementName};
    const CDownloader_HTMLTags* found[std::size(reads)];
    node.FindChildren(reads, found);
    const CDownloader_HTMLTags* keyword = found[0];
    const CDownloader_HTMLTags* siteValue = found[1];
    bool whole = project5::IsWholeValue(keyword) && project5::IsWholeValue(siteValue) && !found[2];
    CDownloader_HTMLTags::GetString(keyword, m_keyword, QString());
    QString site;
    CDownloader_HTMLTags::GetString(siteValue, site, QString());
    m_keyword = m_keyword.trimmed();
    m_site = SiteOfUrl(site);
    m_checks.clear();
    for (const CDownloader_HTMLTags& child : node.GetChildren()) {
        if (child.IsElementNamed(kCheckKey)) {
            CProject5_Check check;
            whole = check.ReadXml(child) && whole;
            m_checks.push_back(check);
        }
    }
    // A check added by hand out of order would otherwise hide the newer ones.
    std::stable_sort(m_checks.begin(), m_checks.end(),
                     [](const CProject5_Check& a, const CProject5_Check& b) { return a.m_date < b.m_date; });
    return whole && !m_keyword.isEmpty() && !m_site.isEmpty();
}

#include "projects/kind1/project1_keyword.h"

#include "core/number_text.h"
#include "net/html_tags.h"
#include "projects/common/task_values.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMatchTypeBits = 1 | 2 | 4;

// Lower is more trusted; a source that gives no figures ranks last.
int TrustOf(int source) {
    switch (source) {
    case CProject1_Keyword::kKeywordTool:
        return 0;
    case CProject1_Keyword::kKeywordResearch:
        return 1;
    case CProject1_Keyword::kSearchMarketing:
        return 2;
    case CProject1_Keyword::kFreeSuggestions:
        return 3;
    default:
        return 4;
    }
}

int MostTrusted(int sources) {
    int best = TrustOf(0);
    for (int bit = 0; bit < CProject1_Keyword::kSourceCount; ++bit)
        if (sources & (1 << bit))
            best = std::min(best, TrustOf(1 << bit));
    return best;
}

// Takes incoming into field when it is a figure and the field has none, or when replace says so.
bool Take(float& field, float incoming, bool replace) {
    if (incoming < 0.0f || std::isnan(incoming) || (field >= 0.0f && !replace))
        return false;
    field = incoming;
    return true;
}

} // namespace

QString CProject1_Keyword::KeyOf(const QString& keyword) {
    return keyword.simplified().toCaseFolded();
}

QString CProject1_Keyword::SourceName(int source) {
    switch (source) {
    case kKeywordTool:
        return u"Keyword tool"_s;
    case kFreeSuggestions:
        return u"Free suggestions"_s;
    case kAsk:
        return u"Ask"_s;
    case kSearchMarketing:
        return u"Search Marketing"_s;
    case kKeywordResearch:
        return u"Keyword research"_s;
    default:
        return {};
    }
}

void CProject1_Keyword::Merge(const CDownloader_Parsers_Adwords_result& row, int source) {
    // The spelling shown is the most trusted source's, so it does not depend on which reply came first.
    if (m_sources == 0 || TrustOf(source) < MostTrusted(m_sources))
        m_row.keyword = row.keyword.simplified();
    m_sources |= source;
    if (source == kKeywordTool && row.keywordType != 255)
        m_row.keywordType |= row.keywordType & kMatchTypeBits;

    const bool replace = m_figuresFrom != 0 && TrustOf(source) < TrustOf(m_figuresFrom);
    bool took = false;
    took |= Take(m_row.estimatedSearch, row.estimatedSearch, replace);
    took |= Take(m_row.competition, row.competition, replace);
    took |= Take(m_row.avgCPC, row.avgCPC, replace);
    const bool hasMonths = std::any_of(
        row.m_searchTrends.begin(), row.m_searchTrends.end(), [](int value) { return value >= 0; });
    const bool hadMonths = std::any_of(m_row.m_searchTrends.begin(), m_row.m_searchTrends.end(),
                                       [](int value) { return value >= 0; });
    if (hasMonths && (!hadMonths || replace)) {
        m_row.m_searchTrends = row.m_searchTrends;
        took = true;
    }
    // A source that answered for the keyword without a figure: shown as no data rather than not known.
    if (row.estimatedSearch < task_value::kNotAsked && m_row.estimatedSearch == task_value::kNotAsked)
        m_row.estimatedSearch = row.estimatedSearch;
    if (took && (m_figuresFrom == 0 || replace))
        m_figuresFrom = source;
}

int CProject1_Keyword::Searches() const {
    const float searches = m_row.estimatedSearch;
    if (searches < task_value::kNotAsked)
        return task_value::kNoData;
    if (searches < 0.0f || std::isnan(searches))
        return task_value::kNotAsked;
    return searches >= 2147483520.0f ? 2147483647 : static_cast<int>(std::lround(searches));
}

QString CProject1_Keyword::SourcesText() const {
    QStringList names;
    for (int bit = 0; bit < kSourceCount; ++bit)
        if (m_sources & (1 << bit))
            names.append(SourceName(1 << bit));
    return names.join(u", "_s);
}

QString CProject1_Keyword::MatchTypeText() const {
    QStringList names;
    if (m_row.keywordType & 1)
        names.append(u"Broad"_s);
    if (m_row.keywordType & 2)
        names.append(u"Phrase"_s);
    if (m_row.keywordType & 4)
        names.append(u"Exact"_s);
    return names.join(u", "_s);
}

QString CProject1_Keyword::TrendText() const {
    if (std::none_of(m_row.m_searchTrends.begin(), m_row.m_searchTrends.end(),
                     [](int value) { return value >= 0; }))
        return u"No Data"_s;
    QString text;
    for (const int value : m_row.m_searchTrends) {
        if (!text.isEmpty())
            text += u' ';
        text += number_text::FormatInt(std::max(value, 0));
    }
    return text;
}

void CProject1_Keyword::WriteXml(CDownloader_HTMLTags& node) const {
    m_row.WriteXml(node);
    node.AddChild(u"m_sources"_s, true)->SetInt(m_sources);
    if (m_figuresFrom != 0)
        node.AddChild(u"m_figuresFrom"_s, true)->SetInt(m_figuresFrom);
}

void CProject1_Keyword::ReadXml(const CDownloader_HTMLTags* node) {
    m_row.ReadXml(node);
    CDownloader_HTMLTags::GetInt(node ? node->FindFirst({.tag = u"m_sources"_s}) : nullptr, m_sources, 0);
    CDownloader_HTMLTags::GetInt(node ? node->FindFirst({.tag = u"m_figuresFrom"_s}) : nullptr, m_figuresFrom,
                                 0);
}

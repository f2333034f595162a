#include "net/adwords_result.h"

#include "core/number_text.h"
#include "net/html_tags.h"
#include "net/saved_markup.h"

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// The monthly values as the saved key and the trend text show them: twelve numbers, single blanks.
QString JoinMonths(const std::array<int, CDownloader_Parsers_Adwords_result::kMonths>& values) {
    QString text;
    for (const int value : values) {
        if (!text.isEmpty())
            text += u' ';
        text += number_text::FormatInt(value);
    }
    return text;
}

// A figure of a saved row; one that is no real number (a damaged file) reads as not fetched.
void ReadFigure(const CDownloader_HTMLTags* node, float& figure) {
    CDownloader_HTMLTags::GetFloat(node, figure, -1.0f);
    if (!std::isfinite(figure))
        figure = -1.0f;
}

} // namespace

CDownloader_Parsers_Adwords_result::CDownloader_Parsers_Adwords_result() {
    m_searchTrends.fill(-1);
}

void CDownloader_Parsers_Adwords_result::WriteXml(CDownloader_HTMLTags& node) const {
    SavedTreeWriter out(node);
    Write(out);
}

template <typename Writer> void CDownloader_Parsers_Adwords_result::Write(Writer& out) const {
    if (!keyword.isEmpty())
        out.Value(u"keyword"_s, keyword);
    if (estimatedPosMin != -1)
        out.Value(u"estimatedPosMin"_s, estimatedPosMin);
    if (estimatedPosMax != -1)
        out.Value(u"estimatedPosMax"_s, estimatedPosMax);
    if (keywordGroup != 0)
        out.Value(u"keywordGroup"_s, keywordGroup);
    if (keywordType != 0)
        out.Value(u"keywordType"_s, keywordType);
    auto writeFloat = [&](const QString& key, float value) {
        if (value != -1.0f)
            out.Value(key, value);
    };
    writeFloat(u"estimatedSearch"_s, estimatedSearch);
    writeFloat(u"avgCPC"_s, avgCPC);
    writeFloat(u"avgCTR"_s, avgCTR);
    writeFloat(u"competition"_s, competition);
    out.Value(u"searchTrends_str"_s, JoinMonths(m_searchTrends));
}

template void CDownloader_Parsers_Adwords_result::Write(SavedTreeWriter&) const;
template void CDownloader_Parsers_Adwords_result::Write(SavedMarkupWriter&) const;

void CDownloader_Parsers_Adwords_result::ReadXml(const CDownloader_HTMLTags* node) {
    static const QString kKeys[] = {u"keyword"_s,         u"estimatedPosMin"_s, u"estimatedPosMax"_s,
                                    u"keywordGroup"_s,    u"keywordType"_s,     u"estimatedSearch"_s,
                                    u"avgCPC"_s,          u"avgCTR"_s,          u"competition"_s,
                                    u"searchTrends_str"_s};
    const CDownloader_HTMLTags* found[std::size(kKeys)] = {};
    if (node)
        node->FindFirstOfEach(kKeys, found);
    CDownloader_HTMLTags::GetString(found[0], keyword, QString());
    CDownloader_HTMLTags::GetInt(found[1], estimatedPosMin, -1);
    CDownloader_HTMLTags::GetInt(found[2], estimatedPosMax, -1);
    CDownloader_HTMLTags::GetInt(found[3], keywordGroup, 0);
    CDownloader_HTMLTags::GetInt(found[4], keywordType, 0);
    ReadFigure(found[5], estimatedSearch);
    ReadFigure(found[6], avgCPC);
    ReadFigure(found[7], avgCTR);
    ReadFigure(found[8], competition);
    QString months;
    CDownloader_HTMLTags::GetString(found[9], months, QString());

    // Numbers separated by white space, read until the first one that is missing or not a number.
    m_searchTrends.fill(-1);
    QStringView rest(months);
    for (int& month : m_searchTrends) {
        qsizetype end = 0;
        const std::optional<int> value = number_text::ReadInt(rest, &end);
        if (!value)
            break;
        month = *value;
        rest = rest.mid(end);
    }
    TrendText();
}

void CDownloader_Parsers_Adwords_result::TrendText() {
    if (estimatedSearch < -1.0f) {
        m_trendText = u"No data"_s;
        return;
    }
    // The display scale (value x 100 / 100) is the value itself once it cannot overflow, so large counts show
    // as they are; a missing value (-1) shows as 0.
    std::array<int, kMonths> shown{};
    std::transform(m_searchTrends.begin(), m_searchTrends.end(), shown.begin(),
                   [](int value) { return std::max(value, 0); });
    m_trendText = JoinMonths(shown);
}

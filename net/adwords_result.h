#pragma once

#include <QString>
#include <array>

class CDownloader_HTMLTags;

// One keyword row of a keyword research service. The field names are also the keys of saved rows.
class CDownloader_Parsers_Adwords_result {
  public:
    static constexpr int kMonths = 12;

    CDownloader_Parsers_Adwords_result();
    CDownloader_Parsers_Adwords_result(const CDownloader_Parsers_Adwords_result& other) = default;
    CDownloader_Parsers_Adwords_result& operator=(const CDownloader_Parsers_Adwords_result& other) = default;

    // Writes the row as children of node; the trend text is never saved.
    void WriteXml(CDownloader_HTMLTags& node) const;
    // The same keys to a SavedTreeWriter or a SavedMarkupWriter.
    template <typename Writer> void Write(Writer& out) const;
    // Reads the row's keys from node (a missing key takes its default) and makes the trend text. A null
    // node reads as one without keys.
    void ReadXml(const CDownloader_HTMLTags* node);
    // Makes m_trendText from the monthly values, or "No data" when the service had no search figure.
    void TrendText();

    QString keyword;
    QString m_trendText;
    // Estimated ad position range; -1 none.
    int estimatedPosMin = -1;
    int estimatedPosMax = -1;
    // Which list of the service's answer the row came from; 0 none.
    int keywordGroup = 0;
    // Monthly searches: -1.0 not fetched, below -1.0 the service had no figure.
    float estimatedSearch = -1.0f;
    // Dollars; -1.0 none.
    float avgCPC = -1.0f;
    float avgCTR = -1.0f;
    float competition = -1.0f;
    // Monthly search values as the keyword tool places them; -1 none.
    std::array<int, kMonths> m_searchTrends;
    // Match type bit: 1 broad, 2 phrase, 4 exact, 255 no known type; 0 none.
    int keywordType = 0;
};

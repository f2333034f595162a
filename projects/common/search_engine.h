#pragma once

#include "parsers/se_result.h"

#include <QString>
#include <vector>

class CDownloader;

// The three web search engines the kinds ask. The numbers are saved with the records.
enum CompetitionEngine { kEngineGoogle = 1, kEngineYahoo = 2, kEngineBing = 3 };

// The order the kinds ask them in, and show them in.
inline constexpr CompetitionEngine kCompetitionEngines[] = {kEngineGoogle, kEngineBing, kEngineYahoo};
inline constexpr int kSearchEngineCount = 3;

// How one engine is asked and how its result page is read.
struct SearchEngine {
    // What the builders read as their default: ten results, from the first.
    static constexpr int kDefaultCount = -1;
    static constexpr int kFirstResult = -1;

    using ResultsParser = bool (*)(const CDownloader&, std::vector<CDownloader_Parsers_SE_result>&);

    CompetitionEngine id;
    // "Google", "Bing" or "Yahoo".
    const char16_t* name;
    // The name its result pages are paced under in the downloader pool.
    const char16_t* pacing;
    void (*buildUrl)(QString& url, const QString& query, int count, int start);
    bool (*start)(CDownloader& downloader, const QString& query, int count, int start);
    bool (*count)(const CDownloader& downloader, int* first, int* last, float* total);
    ResultsParser ads;
    ResultsParser results;

    QString Name() const { return QString::fromUtf16(name); }
    QString Pacing() const { return QString::fromUtf16(pacing); }
    // The result page for query, ten results from start.
    QString SearchUrl(const QString& query, int start) const;
};

// The engine at position index of kCompetitionEngines.
const SearchEngine& SearchEngineAt(int index);
// The engine saved as id; null for any other number.
const SearchEngine* FindSearchEngine(int id);
// "Google", "Bing" or "Yahoo"; empty for any other number.
QString EngineName(int engine);

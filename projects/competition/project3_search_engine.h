#pragma once

#include "parsers/se_result.h"

#include <QString>
#include <vector>

class CDownloader;

// The three web search engines the competition kinds ask, in the order they ask them. The numbers are
// saved with the records.
enum CompetitionEngine { kEngineGoogle = 1, kEngineYahoo = 2, kEngineBing = 3 };

inline constexpr CompetitionEngine kCompetitionEngines[] = {kEngineGoogle, kEngineBing, kEngineYahoo};

// "Google", "Bing" or "Yahoo"; empty for any other number.
QString EngineName(int engine);
// The service name an engine's requests are paced under.
QString EngineService(int engine);
// The engine's result page for query, ten results from start.
QString EngineSearchUrl(int engine, const QString& query, int start);
bool StartEngineSearch(int engine, CDownloader& downloader, const QString& query, int start);
// The ads or the organic results of a finished result page; false when the page held none of them.
bool ParseEngineAds(int engine, const CDownloader& downloader,
                    std::vector<CDownloader_Parsers_SE_result>& out);
bool ParseEngineResults(int engine, const CDownloader& downloader,
                        std::vector<CDownloader_Parsers_SE_result>& out);

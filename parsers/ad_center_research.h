#pragma once

#include "net/adwords_result.h"
#include "parsers/step_result.h"

#include <QString>
#include <vector>

class CDownloader;

// The ad service's keyword research behind the user's own sign-in: estimated searches, click-through rate
// and cost per click per keyword. The run holds one downloader for all its requests and lives in
// g_searchParsers.m_bing and in the downloader's first tag (its step).
namespace CDownloader_Parsers {

// One step of the run, called on every tick while the caller holds the downloader: the sign-in page, the
// login, the research page, then the research form posted with keywords. ReplyIn once the final reply is in
// the downloader, Running while the run goes on.
StepResult StartAdCenterKeywordResearch(CDownloader& downloader, const QString& user, const QString& password,
                                        const QString& keywords);

// The grid of the final reply as rows: a row with a keyword and a cost per click is shared with the crawler
// and appended to out, which is emptied first. A reply without the grid (a failed sign-in) gives no rows.
void ParseAdCenterGrid(const CDownloader& downloader, std::vector<CDownloader_Parsers_Adwords_result>& out);
void ParseAdCenterGrid(const QString& reply, std::vector<CDownloader_Parsers_Adwords_result>& out);

} // namespace CDownloader_Parsers

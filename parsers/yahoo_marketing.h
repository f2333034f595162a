#pragma once

#include "net/adwords_result.h"
#include "parsers/step_result.h"

#include <QString>
#include <vector>

class CDownloader;
class CDownloader_HTMLTags;

// Search Marketing's keyword suggestions, behind a sign-in with the user's own account: sign-in page,
// login (following its redirects), then the suggestion request. The run's texts live in
// g_searchParsers.m_yahoo, its step in the downloader's first tag; the caller holds the downloader from
// the first step to the reply.
namespace CDownloader_Parsers {

// One step per call: Running while the run goes on, ReplyIn once the suggestion reply is in the downloader. A
// run that has not begun, or one on another downloader, takes the texts given now. keywordsOnly: the
// suggestions are not asked to include the keywords themselves.
StepResult StartYahooMarketingKeywords(CDownloader& downloader, const QString& user, const QString& password,
                                       const QString& keywords, bool keywordsOnly);

// Appends a row for every suggested keyword (its monthly searches in estimatedSearch) to out and to the
// crawler's shared rows; out is not emptied first.
void ParseYahooKeywordSuggest(const CDownloader& downloader,
                              std::vector<CDownloader_Parsers_Adwords_result>& out);
void ParseYahooKeywordSuggest(const CDownloader_HTMLTags& reply,
                              std::vector<CDownloader_Parsers_Adwords_result>& out);

} // namespace CDownloader_Parsers

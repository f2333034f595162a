#pragma once

#include "net/adwords_result.h"
#include "parsers/step_result.h"

#include <QString>
#include <vector>

class CDownloader;
class CSkinDlg_Base;

// The keyword tool: related keywords with estimated searches, cost per click, competition and twelve
// monthly values. It wants a picture code first; the code the user typed is kept and sent with every later
// run until the tool rejects it. The run lives in g_searchParsers.m_google and in the downloader's first tag
// (its step).
namespace CDownloader_Parsers {
// The run's step (the downloader's first tag) while the picture it fetched is in the downloader.
inline constexpr int kKeywordToolPictureStep = 2;

// One step of the run on the caller's downloader, called on every tick while the caller holds it: fetches
// the picture, asks for the code (through the installed prompt, over parent), posts the keywords. ReplyIn
// when the reply is in the downloader or the user cancelled the prompt, Running otherwise (also when called
// while a prompt is open, which changes nothing). suggest asks the tool for suggestions besides variations.
StepResult StartAdwordsKeywordTool(CDownloader& downloader, const QString& user, const QString& password,
                                   const QString& keywords, CSkinDlg_Base* parent, bool suggest);

// Reads the tool's reply (script text) into rows: every row is shared with the crawler, and those whose match
// type shares a bit with typeMask are appended to out.
void ParseAdwordsKeywordTool(const CDownloader& downloader,
                             std::vector<CDownloader_Parsers_Adwords_result>& out, int typeMask);
void ParseAdwordsKeywordTool(const QString& reply, std::vector<CDownloader_Parsers_Adwords_result>& out,
                             int typeMask);

} // namespace CDownloader_Parsers

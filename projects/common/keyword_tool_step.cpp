#include "projects/common/keyword_tool_step.h"

#include "net/crawler.h"
#include "net/downloader.h"
#include "parsers/keyword_tool.h"

using namespace Qt::StringLiterals;

CServiceStep::Result RunKeywordTool(CServiceStep& step, const QString& keywords, CSkinDlg_Base* parent) {
    return step.RunSteps(
        u"Google Bids"_s,
        [&](CDownloader& downloader) {
            // An error page in place of the picture ends the run: there is no picture to ask about.
            if (downloader.m_tags[0] == CDownloader_Parsers::kKeywordToolPictureStep &&
                downloader.IsFinished() && downloader.Response().status.IsError())
                return true;
            const QString user = g_pCrawler ? g_pCrawler->GoogleAdwords_user : QString();
            const QString password = g_pCrawler ? g_pCrawler->GoogleAdwords_pass : QString();
            return CDownloader_Parsers::StartAdwordsKeywordTool(downloader, user, password, keywords, parent,
                                                                false) ==
                   CDownloader_Parsers::StepResult::ReplyIn;
        });
}

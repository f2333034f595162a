#include "parsers/yahoo_marketing.h"

#include "core/clock.h"
#include "core/number_text.h"
#include "core/url_coding.h"
#include "net/crawler.h"
#include "net/downloader.h"
#include "net/html_tags.h"
#include "parsers/endpoints.h"
#include "parsers/finished_reply.h"
#include "parsers/search_parsers_state.h"

#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Steps of one run, kept in the downloader's first tag; below 1 the run has not begun.
constexpr int kStepSignInPage = 1;
constexpr int kStepLogin = 2;
constexpr int kStepSuggestions = 3;

// Enough for the two redirects the login answers with (to the account, then to its start page): every
// Location response and every hop followed use one up.
constexpr int kLoginRedirectBudget = 5;

QString LoginBody(const YahooParserState& state) {
    const QString processing =
        endpoints::Url(Endpoint::YahooMarketing, u"/adui/signin/processSignin.do?JS_ENABLED=true"_s);
    // The login form names its loading page with the port written out.
    const QString loading = endpoints::BaseUrlWithPort(Endpoint::YahooMarketingSignIn) +
                            u"/adui/signin/loadSignin.do?JS_ENABLED=true"_s;
    return u"u="_s + UrlEncode(state.m_user, false) + u"&p="_s + UrlEncode(state.m_password, false) +
           u"&l="_s + UrlEncode(processing, false) + u"&lf="_s + UrlEncode(loading, false) +
           u"&JS_ENABLE=true"_s;
}

// The request's cache-breaker: nine digits, the first group from 100.
QString Trnd() {
    const int first = RandomValue() * 899 / kRandomMax + 100;
    const int second = RandomValue() * 999 / kRandomMax;
    const int third = RandomValue() * 999 / kRandomMax;
    auto group = [](int value) { return QString::number(value).rightJustified(3, u'0'); };
    return group(first) + group(second) + group(third);
}

QString SuggestionBody(const YahooParserState& state, bool keywordsOnly) {
    const QString keywords = UrlEncode(state.m_keywords, false);
    const QString selected = keywordsOnly ? u"&"_s : keywords + u'&';
    return u"ajax_event=search&requiredPhrases=&url=&positiveKeywords="_s + keywords +
           u"&selectedKeywords="_s + selected + u"excludedPhrases=&__r=a&trnd="_s + Trnd();
}

// Starts the next request of the run and moves it to step; a busy downloader leaves the step as it was.
void Post(CDownloader& downloader, Endpoint endpoint, const QString& path, const QString& body,
          int redirectBudget, int step) {
    downloader.Reset();
    downloader.m_redirectBudget = redirectBudget;
    downloader.SetPostData(body);
    if (downloader.Start(endpoints::Url(endpoint, path), false, false))
        downloader.m_tags[0] = step;
}

} // namespace

namespace CDownloader_Parsers {

StepResult StartYahooMarketingKeywords(CDownloader& downloader, const QString& user, const QString& password,
                                       const QString& keywords, bool keywordsOnly) {
    YahooParserState& state = g_searchParsers.m_yahoo;
    int& step = downloader.m_tags[0];
    state.BeginStep(downloader.m_poolIndex, step, user, password, keywords);

    if (step < 1) {
        downloader.Reset();
        if (downloader.Start(
                endpoints::Url(Endpoint::YahooMarketingSignIn, u"/adui/signin/displaySignin.do"_s), false,
                false))
            step = kStepSignInPage;
        return StepResult::Running;
    }
    if (!downloader.IsFinished())
        return StepResult::Running;
    switch (step) {
    case kStepSignInPage:
        Post(downloader, Endpoint::YahooMarketingSignIn, u"/adui/servlet/login"_s, LoginBody(state),
             kLoginRedirectBudget, kStepLogin);
        return StepResult::Running;
    case kStepLogin:
        Post(downloader, Endpoint::YahooMarketing, u"/adui/campaign/kwSuggestionAjaxProcessor.do"_s,
             SuggestionBody(state, keywordsOnly), 0, kStepSuggestions);
        return StepResult::Running;
    case kStepSuggestions:
        state.EndRun();
        return StepResult::ReplyIn;
    default:
        return StepResult::Running;
    }
}

void ParseYahooKeywordSuggest(const CDownloader& downloader,
                              std::vector<CDownloader_Parsers_Adwords_result>& out) {
    ParseYahooKeywordSuggest(FinishedTree(downloader), out);
}

void ParseYahooKeywordSuggest(const CDownloader_HTMLTags& reply,
                              std::vector<CDownloader_Parsers_Adwords_result>& out) {
    std::vector<const CDownloader_HTMLTags*> keywords;
    reply.FindAll(keywords, {.tag = u"KEYWORD"_s, .attribute = u"TEXT"_s});
    for (const CDownloader_HTMLTags* keyword : keywords) {
        CDownloader_Parsers_Adwords_result row;
        // Attribute values come as the reply wrote them: "&" and "<" stand as references in XML.
        row.keyword = DecodeHtmlEntities(keyword->GetAttribute(u"TEXT"_s));
        // "inf" and "nan" read like numbers but are no count of searches.
        const std::optional<float> searches = number_text::ReadFloat(keyword->GetAttribute(u"maxRange"_s));
        row.estimatedSearch = searches && std::isfinite(*searches) ? *searches : -1.0f;
        if (g_pCrawler)
            g_pCrawler->AddAdwordsResult(row);
        out.push_back(std::move(row));
    }
}

} // namespace CDownloader_Parsers

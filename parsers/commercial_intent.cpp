#include "parsers/commercial_intent.h"

#include "core/number_text.h"
#include "core/url_coding.h"
#include "net/downloader.h"
#include "net/html_tags.h"
#include "parsers/endpoints.h"
#include "parsers/finished_reply.h"
#include "parsers/page_query.h"
#include "parsers/search_parsers_state.h"

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// The page follows a post with redirects of its own.
constexpr int kIntentRedirects = 7;
// The page answers a new query on the second post; a third that is not answered will never be.
constexpr int kIntentPostsAnswered = 3;

// The query as the page shows it back: blanks at the ends and runs of blanks do not make another query.
QString Comparable(const QString& query) {
    return query.simplified();
}

QString QueryBody(const BingParserState& state, const QString& query) {
    const QString encoded = UrlEncode(query, false);
    return state.m_intentForm + u"MyMaster:DemoPageContent:txtQuery="_s + encoded + u'&' +
           u"MyMaster:DemoPageContent:lan=QueryRadio&"_s + u"MyMaster:DemoPageContent:goButton.x=18&"_s +
           u"MyMaster:DemoPageContent:goButton.y=12&"_s + u"MyMaster:DemoPageContent:hidQuery="_s + encoded +
           u'&' + u"MyMaster:HiddenKeywordTextBox=&"_s;
}

QString HiddenFields(const CDownloader_HTMLTags& page) {
    QString fields;
    std::vector<const CDownloader_HTMLTags*> inputs;
    if (const CDownloader_HTMLTags* form = page.FindFirst({.tag = u"FORM"_s, .id = u"aspnetForm"_s}))
        form->FindAll(inputs, {.tag = u"INPUT"_s});
    for (const CDownloader_HTMLTags* input : inputs) {
        const QString name = input->GetAttribute(u"name"_s);
        if (input->GetAttribute(u"type"_s) == u"hidden"_s && name.startsWith(u'_'))
            fields += name + u'=' + UrlEncode(input->GetAttribute(u"value"_s), false) + u'&';
    }
    return fields;
}

} // namespace

namespace CDownloader_Parsers {

bool StartCommercialIntentQuery(CDownloader& downloader, const QString& query) {
    BingParserState& state = g_searchParsers.m_bing;
    // A finished downloader keeps its last request: without the reset it would go out as a bare GET.
    downloader.Reset();
    downloader.SetPostData(QueryBody(state, query));
    downloader.m_redirectBudget = kIntentRedirects;
    if (!downloader.Start(endpoints::Url(Endpoint::BingAdLab, u"/Online-Commercial-Intention/Default.aspx"_s),
                          false, false))
        return false;
    if (Comparable(query) != Comparable(state.m_intentQuery))
        state.m_intentPosts = 0;
    ++state.m_intentPosts;
    state.m_intentQuery = query;
    return true;
}

float ParseCommercialIntent(const CDownloader& downloader) {
    return ParseCommercialIntent(FinishedTree(downloader));
}

float ParseCommercialIntent(const CDownloader_HTMLTags& page) {
    BingParserState& state = g_searchParsers.m_bing;
    state.m_intentForm = HiddenFields(page);
    const QString shown =
        page_query::TextOf(page.FindFirst({.tag = u"SPAN"_s, .id = u"MyMaster_DemoPageContent_lbl_Query"_s}));
    if (Comparable(shown) != Comparable(state.m_intentQuery))
        return state.m_intentPosts >= kIntentPostsAnswered ? -2.0f : -3.0f;
    const QString text = page_query::TextOf(
        page.FindFirst({.tag = u"SPAN"_s, .id = u"MyMaster_DemoPageContent_lbl_IntentValue"_s}));
    const double value = number_text::ReadDouble(text).value_or(-3.0);
    const double intent = value >= 0.0 ? value * 100.0 : value;
    // "inf", "nan" or a number beyond a float is no value at all, as one that cannot be read.
    if (!std::isfinite(intent) || std::fabs(intent) > std::numeric_limits<float>::max())
        return -3.0f;
    return static_cast<float>(intent);
}

} // namespace CDownloader_Parsers

#include "parsers/ad_center_research.h"

#include "core/number_text.h"
#include "core/string_list.h"
#include "core/url_coding.h"
#include "net/crawler.h"
#include "net/downloader.h"
#include "net/html_tags.h"
#include "parsers/endpoints.h"
#include "parsers/finished_reply.h"
#include "parsers/page_query.h"
#include "parsers/scan_format.h"
#include "parsers/search_parsers_state.h"

using namespace Qt::StringLiterals;

namespace {

using Record = CDownloader_Parsers_Adwords_result;

// Steps of one run, kept in the downloader's first tag; below 1 the run has not begun.
constexpr int kStepSignInPage = 1;
constexpr int kStepLogin = 2;
constexpr int kStepResearchPage = 3;
constexpr int kStepResearch = 4;
constexpr int kStepReply = 5;

// Where the keywords go in the research form.
const QString kSearchMarker = u"%%SEArCH%%"_s;
// The list separator of the research page's drop-down values.
const QString kListSeparator = u"#@#"_s;

QString SignInUrl() {
    return endpoints::Url(Endpoint::BingAdCenter, u"/Default.aspx"_s);
}

QString ResearchUrl() {
    return endpoints::Url(Endpoint::BingAdCenter, u"/Research/KeywordResearcher.aspx"_s);
}

QString LoginBody(const BingParserState& state) {
    return u"txtUsername="_s + UrlEncode(state.m_user, false) + u"&txtPassword="_s +
           UrlEncode(state.m_password, false) + u"&JPGUID="_s + UrlEncode(state.m_loginToken, false) +
           u"&__EVENTTARGET=btnLogin&__EVENTARGUMENT=LogIn&__ISASYNC=true"_s;
}

// A keyword list drop-down's value with its first entry doubled, the new count and a closing "0".
QString KeywordListValue(const QString& value) {
    QStringList list = SplitString(value, kListSeparator, false, false);
    list.prepend(list.value(0));
    list.append(number_text::FormatInt(list.size()));
    list.append(u"0"_s);
    return JoinStrings(list, kListSeparator);
}

// The value the research form sends for one input of the research page.
QString FormValue(const QString& name, const QString& value) {
    if (name == u"ctl00$main$inputcontrol$TextBox1"_s)
        return kSearchMarker + u"&ctl00$main$inputcontrol$DropDownControl1=30-191:1#US"_s;
    if (name == u"ctl00$main$inputcontrol$group1"_s)
        return u"ctl00_main_inputcontrol_RadioButton1"_s;
    if (name == u"ctl00_header_dummydropdwn_datafld"_s)
        return u"#@##@#0#@#"_s;
    if (name == u"ctl00_main_inputcontrol_DropDownControl1_datafld"_s)
        return u"English - United States|30-191:1#US#@#English - United States|30-191:1#US#@#6#@#3"_s;
    if (name.startsWith(u"ctl00_main_keywordCollection_dd"_s) && value.startsWith(kListSeparator))
        return KeywordListValue(value);
    return UrlEncode(value, false);
}

QString ResearchForm(const CDownloader_HTMLTags& page) {
    QString form;
    std::vector<const CDownloader_HTMLTags*> inputs;
    page.FindAll(inputs, {.tag = u"INPUT"_s});
    for (const CDownloader_HTMLTags* input : inputs) {
        const QString name = input->GetAttribute(u"NAME"_s);
        if (name.startsWith(u"ctl00$main$keywordCollection$"_s))
            continue;
        const QString value = FormValue(name, input->GetAttribute(u"VALUE"_s));
        if (!form.contains(name))
            form += name + u'=' + value + u'&';
    }
    return form;
}

QString ResearchBody(const BingParserState& state) {
    QString body = state.m_researchForm;
    body.replace(kSearchMarker, UrlEncode(state.m_keywords, false));
    return body + u"ctl00$header$dummydropdwn=&=1&__EVENTTARGET=ctl00$main$inputcontrol$Button1"
                  "&__EVENTARGUMENT=AsyncPostback&__ISASYNC=true&"_s;
}

// The grid's markup out of the reply's script text, or nothing when the reply carries no grid.
std::optional<QString> GridMarkup(const QString& reply) {
    static const QString kOpen = u"\"<gridData"_s;
    static const QString kClose = u"</gridData>"_s;
    const qsizetype open = reply.indexOf(kOpen);
    if (open < 0)
        return std::nullopt;
    const qsizetype close = reply.indexOf(kClose + u"\");"_s, open);
    if (close < 0)
        return std::nullopt;
    QString markup = reply.sliced(open + 1, close + kClose.size() - open - 1);
    return markup.replace(u"\\\""_s, u"\""_s);
}

float FigureOf(QString text) {
    float value = -1.0f;
    ScanFormat(text.remove(u','), u"%f", {value});
    return value;
}

} // namespace

namespace CDownloader_Parsers {

StepResult StartAdCenterKeywordResearch(CDownloader& downloader, const QString& user, const QString& password,
                                        const QString& keywords) {
    BingParserState& state = g_searchParsers.m_bing;
    int& step = downloader.m_tags[0];
    state.BeginStep(downloader.m_poolIndex, step, user, password, keywords);

    if (step < 1) {
        downloader.Reset();
        if (downloader.Start(SignInUrl(), false, false))
            step = kStepSignInPage;
        return StepResult::Running;
    }
    if (!downloader.IsFinished() && step != kStepResearch)
        return StepResult::Running;
    switch (step) {
    case kStepSignInPage:
        if (const CDownloader_HTMLTags* token =
                FinishedTree(downloader).FindFirst({.tag = u"INPUT"_s, .name = u"JPGUID"_s}))
            state.m_loginToken = token->GetAttribute(u"VALUE"_s);
        downloader.Reset();
        downloader.SetPostData(LoginBody(state));
        if (downloader.Start(SignInUrl(), false, false))
            step = kStepLogin;
        return StepResult::Running;
    case kStepLogin:
        downloader.Reset();
        if (downloader.Start(ResearchUrl(), false, false))
            step = kStepResearchPage;
        return StepResult::Running;
    case kStepResearchPage:
        state.m_researchForm = ResearchForm(FinishedTree(downloader));
        downloader.Reset();
        step = kStepResearch;
        [[fallthrough]];
    case kStepResearch:
        downloader.SetPostData(ResearchBody(state));
        if (downloader.Start(ResearchUrl(), false, true))
            step = kStepReply;
        return StepResult::Running;
    case kStepReply:
        state.EndRun();
        step = 0;
        return StepResult::ReplyIn;
    default:
        return StepResult::Running;
    }
}

void ParseAdCenterGrid(const CDownloader& downloader, std::vector<Record>& out) {
    ParseAdCenterGrid(FinishedBody(downloader), out);
}

void ParseAdCenterGrid(const QString& reply, std::vector<Record>& out) {
    out.clear();
    const std::optional<QString> markup = GridMarkup(reply);
    if (!markup)
        return;
    CDownloader_HTMLTags grid;
    grid.Parse(*markup);
    std::vector<const CDownloader_HTMLTags*> rows;
    grid.FindAll(rows, {.tag = u"R"_s});
    std::vector<const CDownloader_HTMLTags*> cells;
    for (const CDownloader_HTMLTags* gridRow : rows) {
        Record row;
        gridRow->FindAll(cells, {.tag = u"C"_s});
        for (const CDownloader_HTMLTags* cell : cells) {
            const QString name = cell->GetAttribute(u"n"_s);
            const QString value = page_query::TextOf(cell);
            if (name == u"Keyword"_s)
                row.keyword = value;
            else if (name == u"SearchsDisplay"_s)
                row.estimatedSearch = FigureOf(value);
            else if (name == u"CTRDisplay"_s)
                row.avgCTR = FigureOf(value);
            else if (name == u"CPCDisplay"_s)
                row.avgCPC = FigureOf(value);
        }
        if (row.keyword.isEmpty() || row.avgCPC < 0.0f)
            continue;
        if (g_pCrawler)
            g_pCrawler->AddAdwordsResult(row);
        out.push_back(row);
    }
}

} // namespace CDownloader_Parsers

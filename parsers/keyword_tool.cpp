#include "parsers/keyword_tool.h"

#include "core/clock.h"
#include "core/number_text.h"
#include "core/url_coding.h"
#include "net/crawler.h"
#include "net/downloader.h"
#include "net/html_tags.h"
#include "parsers/endpoints.h"
#include "parsers/finished_reply.h"
#include "parsers/picture_code_prompt.h"
#include "parsers/scan_format.h"
#include "parsers/search_parsers_state.h"

#include <QDateTime>
#include <QStringList>
#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

using Record = CDownloader_Parsers_Adwords_result;

// Steps of one run, kept in the downloader's first tag; below 1 the run has not begun.
constexpr int kStepPicture = CDownloader_Parsers::kKeywordToolPictureStep;
constexpr int kStepRequest = 3;
constexpr int kStepReply = 4;

// A criterion line lists at least this many arguments.
constexpr qsizetype kCriterionItems = 17;

// The country the tool is asked about when there is no crawler: the crawler's own default.
const QString kDefaultCountry = u"US"_s;

int MonthIndex(int month) {
    return ((month % Record::kMonths) + Record::kMonths) % Record::kMonths;
}

int CurrentMonth() {
    return QDateTime::fromSecsSinceEpoch(UtcSeconds()).date().month();
}

// A share read from the reply in whole percent. The small nudge keeps a share such as 0.29, which is
// 28.999... times 100 in binary, from losing a percent.
int PercentOf(double share) {
    if (std::isnan(share))
        return -1;
    const double percent = std::floor(share * 100.0 + 1e-6);
    if (percent >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (percent <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(percent);
}

// True when line holds first and, somewhere after it, second.
bool HoldsInOrder(const QString& line, const QString& first, const QString& second) {
    const qsizetype at = line.indexOf(first);
    return at >= 0 && line.indexOf(second, at + first.size()) >= 0;
}

// The arguments of the call that starts at marker in line, or none when no "(" follows the marker.
QStringList CallArguments(const QString& line, qsizetype marker, qsizetype markerLength) {
    QStringList items;
    const qsizetype open = line.indexOf(u'(', marker + markerLength);
    if (open >= 0)
        ParseJsStringList(items, line.sliced(open + 1));
    return items;
}

QString KeywordFrom(QString item) {
    item.replace(u"\\047"_s, u"'"_s).replace(u"\\47"_s, u"'"_s);
    item.replace(u"\\042"_s, u"\""_s).replace(u"\\42"_s, u"\""_s);
    auto isCut = [](QChar c) { return c == u'[' || c == u']' || c == u'"'; };
    qsizetype start = 0;
    qsizetype end = item.size();
    while (start < end && isCut(item[start]))
        ++start;
    while (end > start && isCut(item[end - 1]))
        --end;
    return item.sliced(start, end - start);
}

float FigureOf(QString item, const QString& format) {
    float value = -1.0f;
    item.remove(u',');
    ScanFormat(item, format, {value});
    return value;
}

int MatchTypeOf(const QString& item) {
    if (item == u"kpView.MATCH_BROAD"_s)
        return 1;
    if (item == u"kpView.MATCH_EXACT"_s)
        return 4;
    if (item == u"kpView.MATCH_PHRASE"_s)
        return 2;
    return 255;
}

// Fills the working row's own fields from one criterion's arguments; its monthly values are already in it.
void ReadCriterion(const QStringList& items, Record& row) {
    row.keyword = KeywordFrom(items[0]);
    row.estimatedPosMin = -1;
    row.estimatedPosMax = -1;
    if (ScanFormat(items[9], u"%d - %d", {row.estimatedPosMin, row.estimatedPosMax}) == 1)
        row.estimatedPosMax = row.estimatedPosMin;
    row.avgCPC = FigureOf(items[7], u"$%f"_s);
    row.competition = FigureOf(items[6], u"%f"_s);
    row.estimatedSearch = FigureOf(items[2], u"%f"_s);
    row.keywordType = MatchTypeOf(items[16]);
    row.TrendText();
}

int GroupOf(const QString& title) {
    if (title == u"Keywords related to term(s) entered"_s)
        return 1;
    if (title == u"Additional keywords to consider"_s)
        return 2;
    return 0;
}

// The reply as one statement per line.
QStringList ReplyLines(QString text) {
    text.replace(u"&#39;"_s, u"'"_s);
    text.remove(u"\r\n"_s);
    text.remove(u'\n');
    text.replace(u");"_s, u");\n"_s);
    text.replace(u"';"_s, u"';\n"_s);
    text.replace(u";var "_s, u";\nvar "_s);
    return text.split(u'\n');
}

QString RequestUrl(const GoogleParserState& state, bool suggest) {
    QString cpc;
    if (state.m_maxCpc > 0.0f)
        cpc = number_text::FormatFixed(state.m_maxCpc, 2);
    const QString country = g_pCrawler ? g_pCrawler->Google_Country.left(2) : kDefaultCountry;
    return endpoints::Url(
        Endpoint::GoogleKeywordTool,
        u"/select/VariationsTool?hl=en&adgroupid=0&campaignid=0&adgroupIntegrated=false&skipLogin=true"
        "&currencyCode=USD&maxCpcOverride="_s +
            cpc + u"&targetLanguages=&targetCountries="_s + UrlEncode(country, false) +
            u"&synonyms=false&captchaAnswer="_s + UrlEncode(state.m_captchaAnswer, false) + u"&suggest="_s +
            (suggest ? u"true"_s : u"false"_s) +
            u"&excludedWords=&allowExisting=true&showAdult=true&showTrademark=null"_s);
}

// Shows the picture in the downloader and stores the answer. Returns false when the user cancelled.
bool AskForCode(GoogleParserState& state, CDownloader& downloader, CSkinDlg_Base* parent, int& step) {
    QString answer;
    state.m_promptOpen = true;
    const int result = RunPictureCodePrompt(parent, downloader, answer);
    state.m_promptOpen = false;
    if (result != kPictureCodeOk)
        return false;
    if (answer == QStringView(kPictureCodeRetry)) {
        state.m_captchaAnswer.clear();
        step = 0;
    } else {
        state.m_captchaAnswer = answer;
        step = kStepRequest;
    }
    return true;
}

} // namespace

namespace CDownloader_Parsers {

StepResult StartAdwordsKeywordTool(CDownloader& downloader, const QString& user, const QString& password,
                                   const QString& keywords, CSkinDlg_Base* parent, bool suggest) {
    GoogleParserState& state = g_searchParsers.m_google;
    if (state.m_promptOpen)
        return StepResult::Running;
    int& step = downloader.m_tags[0];
    state.BeginStep(downloader.m_poolIndex, step, user, password, keywords);

    if (step < 1) {
        if (state.m_captchaAnswer.isEmpty()) {
            downloader.Reset();
            if (downloader.Start(endpoints::Url(Endpoint::GoogleKeywordTool, u"/select/KeywordToolCaptcha"_s),
                                 true, true))
                step = kStepPicture;
            return StepResult::Running;
        }
        step = kStepRequest;
    }
    if (step == kStepPicture) {
        if (!downloader.IsFinished())
            return StepResult::Running;
        if (!AskForCode(state, downloader, parent, step))
            return StepResult::ReplyIn;
    }
    if (step == kStepRequest) {
        downloader.Reset();
        downloader.SetPostData(u"keywords="_s + UrlEncode(state.m_keywords, false));
        if (downloader.Start(RequestUrl(state, suggest), false, true)) {
            state.m_maxCpc = -1.0f;
            step = kStepReply;
        }
        return StepResult::Running;
    }
    if (step == kStepReply && downloader.IsFinished()) {
        const QString& reply = FinishedBody(downloader);
        if (reply.contains(u"var captchaError = true;"_s) ||
            reply.contains(u"Your session has expired. Please return"_s)) {
            state.m_captchaAnswer.clear();
            step = 0;
            return StepResult::Running;
        }
        state.EndRun();
        return StepResult::ReplyIn;
    }
    return StepResult::Running;
}

void ParseAdwordsKeywordTool(const CDownloader& downloader, std::vector<Record>& out, int typeMask) {
    ParseAdwordsKeywordTool(FinishedBody(downloader), out, typeMask);
}

void ParseAdwordsKeywordTool(const QString& reply, std::vector<Record>& out, int typeMask) {
    static const QString kPopularity = u"new kpMonthlyPopularity"_s;
    static const QString kCriterion = u"new kpCriterion"_s;
    static const QString kGroup = u"new kpCriteriaGroup"_s;
    static const QString kNewArray = u" = new Array();"_s;

    Record row;
    int startMonth = MonthIndex(CurrentMonth());
    int writeMonth = startMonth;
    // Rows appended before this call belong to an earlier reply: no group line of this one touches them.
    size_t groupStart = out.size();
    for (const QString& rawLine : ReplyLines(reply)) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty())
            break;
        if (line.contains(u"historicalStartMonth"_s)) {
            const qsizetype equals = line.indexOf(u'=');
            if (equals >= 0) {
                if (const std::optional<int> month =
                        number_text::ReadInt(QStringView(line).sliced(equals + 1)))
                    startMonth = MonthIndex(*month);
            }
        }
        if (HoldsInOrder(line, u"var criteria"_s, kNewArray))
            groupStart = out.size();
        if (HoldsInOrder(line, u"var monthly"_s, kNewArray)) {
            row.m_searchTrends.fill(-1);
            writeMonth = startMonth;
        }
        if (const qsizetype at = line.indexOf(kPopularity); at >= 0) {
            int value = -1;
            const qsizetype open = line.indexOf(u'(', at + kPopularity.size());
            if (open >= 0) {
                if (const std::optional<double> share =
                        number_text::ReadDouble(QStringView(line).sliced(open + 1)))
                    value = PercentOf(*share);
            }
            row.m_searchTrends[static_cast<size_t>(writeMonth)] = value;
            writeMonth = (writeMonth + 1) % Record::kMonths;
        }
        const qsizetype criterion = line.indexOf(kCriterion);
        if (criterion < 0)
            continue;
        const QStringList items = CallArguments(line, criterion, kCriterion.size());
        if (items.size() >= kCriterionItems) {
            ReadCriterion(items, row);
            if (g_pCrawler)
                g_pCrawler->AddAdwordsResult(row);
            if (row.keywordType & typeMask)
                out.push_back(row);
        }
        // Each criterion brings its own monthly block; one without it has no trend.
        row.m_searchTrends.fill(-1);
        writeMonth = startMonth;

        if (const qsizetype group = line.indexOf(kGroup); group >= 0) {
            QStringList groupItems;
            ParseJsStringList(groupItems, line.sliced(group + 1));
            const int number = GroupOf(groupItems.value(0));
            for (size_t i = groupStart; i < out.size(); ++i)
                out[i].keywordGroup = number;
        }
    }
}

} // namespace CDownloader_Parsers

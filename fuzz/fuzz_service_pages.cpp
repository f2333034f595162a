// The replies of every outside service, through the response processing a download gets, into that
// service's parser. The first byte names the service (a letter of kServices, any other byte picks one by
// its value); the rest is the reply, or the body of a plain 200 reply when it does not start with "HTTP/".
// Beyond not crashing: every number is a real number (never NaN or infinite) or the parser's no-data
// value; records hold no control character that the page did not bring (as a character, a character
// reference or a URL escape; a snippet's line breaks excepted); parsers that empty their output do, those
// that append keep what was there; the rows shared with the crawler stay sorted and unique; and nothing
// grows beyond the page it came from or the node limit.
#include "core/limits.h"
#include "core/number_text.h"
#include "net/crawler.h"
#include "net/downloader.h"
#include "net/html_tags.h"
#include "parsers/ad_center_research.h"
#include "parsers/alexa_traffic.h"
#include "parsers/bing_search.h"
#include "parsers/commercial_intent.h"
#include "parsers/finished_reply.h"
#include "parsers/google_page_rank.h"
#include "parsers/google_search.h"
#include "parsers/keyword_tool.h"
#include "parsers/se_result.h"
#include "parsers/search_parsers_state.h"
#include "parsers/yahoo_marketing.h"
#include "parsers/yahoo_search.h"
#include "parsers/yahoo_site_explorer.h"
#include "projects/kind1/project1_source_pages.h"

#include <QStringList>
#include <bitset>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using Record = CDownloader_Parsers_SE_result;
using Row = CDownloader_Parsers_Adwords_result;

void Check(bool holds) {
    if (!holds)
        __builtin_trap();
}

// C0 and C1 controls, DEL included.
bool IsControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

int HexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if ((u | 0x20) >= u'a' && (u | 0x20) <= u'f')
        return (u | 0x20) - u'a' + 10;
    return -1;
}

// What a page may put into a record: its own text, and the control characters it brought in any form a
// parser is meant to decode: a decimal character reference (which the tree decodes text node by text
// node, anything between its digits and the next ";" ignored) or a URL escape, also one written with
// references.
class Page {
  public:
    explicit Page(const QString& text) : m_size(text.size()) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            Allow(text[i].unicode());
            if (text[i] == u'&' && i + 1 < text.size() && text[i + 1] == u'#') {
                if (const std::optional<qint64> code =
                        number_text::ReadInt64(QStringView(text).sliced(i + 2));
                    code && *code >= 0 && *code <= 0x9F)
                    Allow(char16_t(*code));
            }
        }
        for (const QString& form : {text, DecodeHtmlEntities(text)}) {
            for (qsizetype i = 0; i + 2 < form.size(); ++i)
                if (form[i] == u'%' && HexValue(form[i + 1]) >= 0 && HexValue(form[i + 2]) >= 0)
                    Allow(char16_t(HexValue(form[i + 1]) * 16 + HexValue(form[i + 2])));
        }
    }

    // snippet: the text of an element with its line breaks, where a BR gives CR LF.
    void CheckText(const QString& field, bool snippet = false) const {
        for (const QChar c : field)
            if (IsControl(c.unicode()))
                Check(m_brought.test(c.unicode()) || (snippet && (c == u'\r' || c == u'\n')));
    }

    // Everything read from the page is at most a few times its size.
    qsizetype Bound() const { return 16 * (m_size + 16); }
    qsizetype Size() const { return m_size; }

  private:
    void Allow(char16_t c) {
        if (IsControl(c))
            m_brought.set(c);
    }

    qsizetype m_size;
    std::bitset<0xA0> m_brought;
};

size_t CountNodes(const CDownloader_HTMLTags& root) {
    size_t count = 0;
    std::vector<const CDownloader_HTMLTags*> stack{&root};
    while (!stack.empty()) {
        const CDownloader_HTMLTags* node = stack.back();
        stack.pop_back();
        ++count;
        for (const CDownloader_HTMLTags& child : node->GetChildren())
            stack.push_back(&child);
    }
    return count;
}

bool IsFinite(float value) {
    return std::isfinite(value);
}

// A record that no parser makes: its block flag is none of theirs.
Record SentinelRecord() {
    Record record;
    record.second_flag = 99;
    return record;
}

// A row that no parser makes: its group is none of theirs.
Row SentinelRow() {
    Row row;
    row.keywordGroup = 99;
    return row;
}

enum class Numbering {
    Google,  // organic: the position the result's link handler gives, or -1 / -2
    Counted, // organic: on by one from the first the page says it shows, at least 1
    Ads,     // 1 to n over all blocks, block flags 1, 2, 3 never going back
    YahooAds // as Ads, but a left-out ad's number is not given to the next
};

void CheckRecords(const std::vector<Record>& records, const Page& page, Numbering numbering) {
    Check(qsizetype(records.size()) <= page.Size());
    qsizetype text = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        const Record& record = records[i];
        page.CheckText(record.title);
        page.CheckText(record.show_url);
        page.CheckText(record.full_url);
        page.CheckText(record.body, true);
        page.CheckText(record.ad_line1, true);
        page.CheckText(record.ad_line2, true);
        text += record.title.size() + record.show_url.size() + record.full_url.size() + record.body.size() +
                record.ad_line1.size() + record.ad_line2.size();
        // The two ad lines are the cleaned body split at its first line break, or not split at all.
        if (record.body.contains(u"\r\n"_s))
            Check(record.ad_line1 + u"\r\n"_s + record.ad_line2 == record.body &&
                  !record.ad_line1.contains(u"\r\n"_s));
        else
            Check(record.ad_line1.isEmpty() && record.ad_line2.isEmpty());
        Check(!record.body.endsWith(u'\r') && !record.body.endsWith(u'\n') && !record.body.endsWith(u' ') &&
              !record.body.endsWith(u'-') && !(record.body.size() > 0 && record.body[0].isSpace()));

        const Record* previous = i > 0 ? &records[i - 1] : nullptr;
        switch (numbering) {
        case Numbering::Google:
            Check(record.second_flag == -1 && !record.full_url.isEmpty() &&
                  !record.full_url.contains(u".google."_s));
            break;
        case Numbering::Counted:
            Check(record.second_flag == -1 && record.pos >= 1);
            Check(!previous || record.pos == previous->pos + 1);
            break;
        case Numbering::Ads:
        case Numbering::YahooAds:
            Check(record.second_flag >= 1 && record.second_flag <= 3);
            Check(!previous || record.second_flag >= previous->second_flag);
            if (numbering == Numbering::Ads)
                Check(record.pos == int(i) + 1);
            else
                Check(record.pos >= int(i) + 1 && (!previous || record.pos > previous->pos));
            break;
        }
    }
    Check(text <= page.Bound());
}

void CheckRows(const std::vector<Row>& rows, size_t from, const Page& page) {
    Check(rows.size() - from <= size_t(page.Size()));
    qsizetype text = 0;
    for (size_t i = from; i < rows.size(); ++i) {
        const Row& row = rows[i];
        page.CheckText(row.keyword);
        text += row.keyword.size();
        Check(IsFinite(row.estimatedSearch) && IsFinite(row.avgCPC) && IsFinite(row.avgCTR) &&
              IsFinite(row.competition));
    }
    Check(text <= page.Bound());
}

// What a parser shared with the crawler: sorted by keyword then type, one row per pair, real numbers.
void CheckSharedRows(const Page& page) {
    const std::vector<Row> shared = g_pCrawler->GetAdwordsResults();
    CheckRows(shared, 0, page);
    for (size_t i = 1; i < shared.size(); ++i) {
        const int order = QString::compare(shared[i - 1].keyword, shared[i].keyword, Qt::CaseSensitive);
        Check(order < 0 || (order == 0 && shared[i - 1].keywordType < shared[i].keywordType));
    }
}

// The count line of a result page: three real numbers, all -2 when there is none; every output optional.
using CountParser = bool (*)(const CDownloader&, int*, int*, float*);
using ResultParser = bool (*)(const CDownloader&, std::vector<Record>&);

void CheckCount(const CDownloader& downloader, CountParser parse) {
    int first = 0;
    int last = 0;
    float total = 0;
    const bool found = parse(downloader, &first, &last, &total);
    Check(IsFinite(total));
    if (!found)
        Check(first == -2 && last == -2 && total == -2.0f);
    Check(parse(downloader, nullptr, nullptr, nullptr) == found);
}

// Parsers of result records empty their output first.
void CheckResultParser(const CDownloader& downloader, const Page& page, ResultParser parse,
                       Numbering numbering) {
    std::vector<Record> records{SentinelRecord()};
    Check(parse(downloader, records));
    for (const Record& record : records)
        Check(record.second_flag != 99);
    CheckRecords(records, page, numbering);
}

void GoogleResults(const CDownloader& downloader, const Page& page) {
    CheckResultParser(downloader, page, CDownloader_Parsers::ParseGoogleResults, Numbering::Google);
    CheckResultParser(downloader, page, CDownloader_Parsers::ParseGoogleAds, Numbering::Ads);
    CheckCount(downloader, CDownloader_Parsers::ParseGoogleResultCount);
}

void BingResults(const CDownloader& downloader, const Page& page) {
    CheckResultParser(downloader, page, CDownloader_Parsers::ParseBingResults, Numbering::Counted);
    CheckResultParser(downloader, page, CDownloader_Parsers::ParseBingAds, Numbering::Ads);
    CheckCount(downloader, CDownloader_Parsers::ParseBingResultCount);
}

void YahooResults(const CDownloader& downloader, const Page& page) {
    CheckResultParser(downloader, page, CDownloader_Parsers::ParseYahooResults, Numbering::Counted);
    CheckResultParser(downloader, page, CDownloader_Parsers::ParseYahooAds, Numbering::YahooAds);
    CheckCount(downloader, CDownloader_Parsers::ParseYahooResultCount);
}

void PageRank(const CDownloader& downloader, const Page&) {
    const int rank = CDownloader_Parsers::ParsePageRank(downloader);
    if (FinishedBody(downloader).isEmpty())
        Check(rank == -2);
}

// The items of a script argument list are pieces of its text, one per comma at most.
void CheckStringLists(const QString& reply) {
    for (const QString& line : reply.split(u'\n')) {
        QStringList items;
        ParseJsStringList(items, line);
        qsizetype length = 0;
        for (const QString& item : items)
            length += item.size();
        Check(length <= line.size() && items.size() <= line.count(u',') + 1);
    }
}

void KeywordTool(const CDownloader& downloader, const Page& page) {
    std::vector<Row> rows{SentinelRow()};
    CDownloader_Parsers::ParseAdwordsKeywordTool(downloader, rows, 255);
    // A reply's group lines mark its own rows only.
    Check(rows.front().keywordGroup == 99);
    CheckRows(rows, 1, page);
    for (size_t i = 1; i < rows.size(); ++i) {
        const Row& row = rows[i];
        Check(row.keywordGroup >= 0 && row.keywordGroup <= 2);
        Check(row.keywordType == 1 || row.keywordType == 2 || row.keywordType == 4 || row.keywordType == 255);
    }
    CheckStringLists(FinishedBody(downloader));
}

void AdResearch(const CDownloader& downloader, const Page& page) {
    std::vector<Row> rows{SentinelRow()};
    CDownloader_Parsers::ParseAdCenterGrid(downloader, rows);
    CheckRows(rows, 0, page);
    for (const Row& row : rows)
        Check(row.keywordGroup != 99 && !row.keyword.isEmpty() && row.avgCPC >= 0.0f);
}

void CommercialIntent(const CDownloader& downloader, const Page& page) {
    const float intent = CDownloader_Parsers::ParseCommercialIntent(downloader);
    Check(IsFinite(intent));
    // The hidden fields go out as a form body with the next post.
    page.CheckText(g_searchParsers.m_bing.m_intentForm);
}

void MarketingSuggest(const CDownloader& downloader, const Page& page) {
    std::vector<Row> rows{SentinelRow()};
    CDownloader_Parsers::ParseYahooKeywordSuggest(downloader, rows);
    Check(rows.front().keywordGroup == 99);
    CheckRows(rows, 1, page);
}

void SiteExplorer(const CDownloader& downloader, const Page&) {
    const int links = CDownloader_Parsers::ParseYahooBlocks(downloader);
    Check(links >= 0 || links == -2);
}

template <auto Parse> void SourceRows(const CDownloader& downloader, const Page& page) {
    std::vector<Row> rows{SentinelRow()};
    Parse(FinishedTree(downloader), rows);
    Check(rows.front().keywordGroup == 99);
    CheckRows(rows, 1, page);
    for (size_t i = 1; i < rows.size(); ++i)
        Check(!rows[i].keyword.isEmpty() &&
              (rows[i].estimatedSearch >= 0.0f || rows[i].estimatedSearch == -1.0f));
}

void Popularity(const CDownloader& downloader, const Page&) {
    (void)CDownloader_Parsers::ParseKeywordPopularity(downloader);
}

struct Service {
    char letter;
    // The reply becomes text only, as the service's request asks (no tree), or text and a page tree.
    bool tree;
    void (*parse)(const CDownloader&, const Page&);
};

constexpr Service kServices[] = {
    {'G', true, GoogleResults},
    {'R', true, PageRank},
    {'K', false, KeywordTool},
    {'B', true, BingResults},
    {'A', false, AdResearch},
    {'I', true, CommercialIntent},
    {'Y', true, YahooResults},
    {'M', true, MarketingSuggest},
    {'S', true, SiteExplorer},
    {'F', true, SourceRows<project1_pages::ParseFreeSuggestions>},
    {'Q', true, SourceRows<project1_pages::ParseAskRelated>},
    {'P', true, Popularity},
};

const Service& ServiceFor(std::uint8_t selector) {
    for (const Service& service : kServices)
        if (service.letter == char(selector))
            return service;
    return kServices[selector % std::size(kServices)];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const Service& service = ServiceFor(data[0]);
    QByteArray reply(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (!reply.startsWith("HTTP/"))
        reply.prepend("HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n\r\n");

    CProjectCrawler crawler({});
    g_pCrawler = &crawler;
    g_searchParsers = SearchParsersState{};
    g_searchParsers.m_bing.m_intentQuery = u"widgets"_s;
    g_searchParsers.m_bing.m_intentPosts = 1;

    CDownloader downloader(-1);
    const int request = service.tree
                            ? CDownloader::kRequestGet | CDownloader::kKeepText | CDownloader::kBuildTree
                            : CDownloader::kRequestPost | CDownloader::kKeepText;
    downloader.ProcessResponse(reply, request, u"http://127.0.0.1/search?q=widgets"_s);
    Check(downloader.IsFinished());
    Check(CountNodes(FinishedTree(downloader)) <= size_t(limits::kMaxPageNodes) + 1);

    const Page page(FinishedBody(downloader));
    service.parse(downloader, page);
    CheckSharedRows(page);
    g_pCrawler = nullptr;
    return 0;
}

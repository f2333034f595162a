#include "parsers/result_text.h"

#include "core/url_coding.h"
#include "parsers/page_query.h"
#include "parsers/scan_format.h"
#include "parsers/se_result.h"

using namespace Qt::StringLiterals;

namespace result_text {

void CleanBodyAndSplitLines(CDownloader_Parsers_SE_result& record) {
    QString& body = record.body;
    qsizetype end = body.size();
    while (end > 0) {
        const QChar c = body[end - 1];
        if (c != u'\r' && c != u'\n' && c != u' ' && c != u'-')
            break;
        --end;
    }
    qsizetype start = 0;
    while (start < end && body[start].isSpace())
        ++start;
    body = body.sliced(start, end - start);
    const qsizetype lineBreak = body.indexOf(u"\r\n"_s);
    if (lineBreak >= 0) {
        record.ad_line1 = body.left(lineBreak);
        record.ad_line2 = body.sliced(lineBreak + 2);
    }
}

QString CutAt(const QString& text, const QString& marker) {
    const qsizetype at = text.indexOf(marker);
    return at < 0 ? text : text.left(at);
}

void StoreCount(int firstShown, int lastShown, float totalCount, int* first, int* last, float* total) {
    if (first)
        *first = firstShown;
    if (last)
        *last = lastShown;
    if (total)
        *total = totalCount;
}

bool ReadCountLine(const CDownloader_HTMLTags* line, QStringView format, int* first, int* last,
                   float* total) {
    int firstShown = -2;
    int lastShown = -2;
    float totalCount = -2.0f;
    if (line) {
        QString text = page_query::TextOf(line).trimmed();
        text.remove(u',');
        text.remove(u"about"_s, Qt::CaseSensitive);
        ScanFormat(text, format, {firstShown, lastShown, totalCount});
    }
    StoreCount(firstShown, lastShown, totalCount, first, last, total);
    return line != nullptr;
}

QString AdTargetUrl(const QString& href) {
    static const QString kTargetMarker = u"&amp;q="_s;
    QString target = href;
    const qsizetype marker = target.indexOf(kTargetMarker);
    if (marker >= 0)
        target = CutAt(target.sliced(marker + kTargetMarker.size()), u"&amp;"_s);
    return UrlDecode(target, true);
}

CDownloader_Parsers_SE_result AdRecord(const CDownloader_HTMLTags* title, const CDownloader_HTMLTags* link,
                                       const QString& shownUrl, const CDownloader_HTMLTags* text,
                                       size_t index, int block) {
    CDownloader_Parsers_SE_result record;
    record.title = page_query::TextOf(title);
    record.full_url = AdTargetUrl(page_query::AttributeOf(link, u"href"_s));
    record.show_url = shownUrl;
    record.body = page_query::SnippetOf(text);
    record.pos = static_cast<int>(index) + 1;
    record.second_flag = block;
    CleanBodyAndSplitLines(record);
    return record;
}

} // namespace result_text

#include "parsers/whois_creation_date.h"

#include "parsers/finished_reply.h"
#include "parsers/scan_format.h"

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

const QString kMonths[] = {u"jan"_s, u"feb"_s, u"mar"_s, u"apr"_s, u"may"_s, u"jun"_s,
                           u"jul"_s, u"aug"_s, u"sep"_s, u"oct"_s, u"nov"_s, u"dec"_s};

// The line's numbers with month names read as theirs, everything else blanked out.
QString NumbersOnly(QString line) {
    for (int month = 0; month < 12; ++month)
        line.replace(kMonths[month], QString::number(month + 1).rightJustified(2, u'0'));
    for (QChar& c : line)
        if (c < u'0' || c > u'9')
            c = u' ';
    return line.trimmed();
}

} // namespace

namespace CDownloader_Parsers {

int ParseWhoisCreationDate(const CDownloader& downloader) {
    return ParseWhoisCreationDate(FinishedBody(downloader));
}

int ParseWhoisCreationDate(const QString& reply) {
    const QString text = reply.toLower();
    for (qsizetype at = text.indexOf(u"creat"_s); at >= 0; at = text.indexOf(u"creat"_s, at + 1)) {
        const qsizetype lineEnd = text.indexOf(u'\n', at);
        const QString line = NumbersOnly(lineEnd < 0 ? text.sliced(at) : text.sliced(at, lineEnd - at));
        int a = 0;
        int b = 0;
        int c = 0;
        if (ScanFormat(line, u"%d %d %d", {a, b, c}) != 3)
            continue;
        // Numbers of any size must not overflow: the value is made wide and then held to an int.
        const qint64 value = (qint64(a) * 100 - c / 100 + b) * 100 + c;
        return static_cast<int>(
            std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    }
    return 0;
}

} // namespace CDownloader_Parsers

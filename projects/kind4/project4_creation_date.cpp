#include "projects/kind4/project4_creation_date.h"

namespace {

constexpr int kFourDigitYearForm = 10000000;

} // namespace

int Project4CreationYmd(int parsed) {
    if (parsed <= 0)
        return 0;
    int year = 0;
    int month = 0;
    int day = 0;
    if (parsed >= kFourDigitYearForm) {
        year = parsed / 10000;
        month = parsed / 100 % 100;
        day = parsed % 100;
    } else {
        day = parsed / 10000;
        month = parsed / 100 % 100;
        const int shortYear = parsed % 100;
        year = shortYear < 70 ? 2000 + shortYear : 1900 + shortYear;
    }
    if (month < 1 || month > 12 || day < 1 || day > 31 || year > 9999)
        return 0;
    return year * 10000 + month * 100 + day;
}

QString Project4CreationText(int parsed) {
    const int ymd = Project4CreationYmd(parsed);
    if (ymd == 0)
        return {};
    return QStringLiteral("%1-%2-%3")
        .arg(ymd / 10000, 4, 10, QChar(u'0'))
        .arg(ymd / 100 % 100, 2, 10, QChar(u'0'))
        .arg(ymd % 100, 2, 10, QChar(u'0'));
}

#include "skin/tooltip_link.h"

#include <QUrl>

using namespace Qt::StringLiterals;

namespace skin {

TooltipLink FindTooltipLink(const QString& text) {
    qsizetype start = -1;
    for (const QString& scheme : {u"http://"_s, u"https://"_s}) {
        const qsizetype at = text.indexOf(scheme, 0, Qt::CaseInsensitive);
        if (at >= 0 && (start < 0 || at < start))
            start = at;
    }
    if (start < 0)
        return {};
    qsizetype end = start;
    while (end < text.size() && !text.at(end).isSpace())
        ++end;
    const QString address = text.mid(start, end - start);
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != "http"_L1 && scheme != "https"_L1) || url.host().isEmpty())
        return {};
    return {start, end - start, address};
}

} // namespace skin

#include "projects/competition/project5_site.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

QString SiteOfAddress(const QString& address) {
    QString site = address.trimmed().toLower();
    const qsizetype scheme = site.indexOf(u"://"_s);
    if (scheme >= 0)
        site.remove(0, scheme + 3);
    // Made once: the list reads a site for every pair it loads.
    static const QRegularExpression hostEnd(u"[/?#:\\s]"_s);
    const qsizetype end = site.indexOf(hostEnd);
    if (end >= 0)
        site.truncate(end);
    const qsizetype credentials = site.lastIndexOf(u'@');
    if (credentials >= 0)
        site.remove(0, credentials + 1);
    while (site.endsWith(u'.'))
        site.chop(1);
    if (site.startsWith(u"www."_s))
        site.remove(0, 4);
    return site;
}

bool AddressOnSite(const QString& address, const QString& site) {
    if (site.isEmpty())
        return false;
    const QString host = SiteOfAddress(address);
    return host == site || host.endsWith(u'.' + site);
}

int AdPositionOfSite(const std::vector<CDownloader_Parsers_SE_result>& ads, const QString& site) {
    for (const CDownloader_Parsers_SE_result& ad : ads)
        if (ad.pos > 0 && (AddressOnSite(ad.show_url, site) || AddressOnSite(ad.full_url, site)))
            return ad.pos;
    return 0;
}

#include "projects/kind5/project5_site.h"

#include "net/http_url.h"

bool AddressOnSite(const QString& address, const QString& site) {
    if (site.isEmpty())
        return false;
    const QString host = SiteOfUrl(address);
    return host == site || host.endsWith(u'.' + site);
}

int AdPositionOfSite(const std::vector<CDownloader_Parsers_SE_result>& ads, const QString& site) {
    for (const CDownloader_Parsers_SE_result& ad : ads)
        if (ad.pos > 0 && (AddressOnSite(ad.show_url, site) || AddressOnSite(ad.full_url, site)))
            return ad.pos;
    return 0;
}

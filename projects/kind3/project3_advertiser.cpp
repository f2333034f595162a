#include "projects/kind3/project3_advertiser.h"

#include "net/http_url.h"
#include "projects/common/search_engine.h"

#include <QHash>
#include <algorithm>

using namespace Qt::StringLiterals;

QString CProject3_Advertiser::EngineNames() const {
    QStringList names;
    for (const int engine : kCompetitionEngines)
        if (engines & (1u << engine))
            names.append(EngineName(engine));
    return names.join(u", "_s);
}

std::vector<CProject3_Advertiser> CollectAdvertisers(const std::vector<CProject3_Ad>& ads) {
    std::vector<CProject3_Advertiser> advertisers;
    QHash<QString, std::size_t> byDomain;
    for (const CProject3_Ad& sighting : ads) {
        const QString domain = SiteOfUrl(sighting.ad.show_url);
        if (domain.isEmpty())
            continue;
        auto found = byDomain.constFind(domain);
        if (found == byDomain.cend()) {
            found = byDomain.insert(domain, advertisers.size());
            advertisers.push_back({domain, 0, 0, sighting.seen, sighting.seen});
        }
        CProject3_Advertiser& advertiser = advertisers[*found];
        ++advertiser.adsSeen;
        if (sighting.engine > 0 && sighting.engine < 32)
            advertiser.engines |= 1u << sighting.engine;
        advertiser.firstSeen = std::min(advertiser.firstSeen, sighting.seen);
        advertiser.lastSeen = std::max(advertiser.lastSeen, sighting.seen);
    }
    return advertisers;
}

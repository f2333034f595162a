#pragma once

#include "projects/kind3/project3_ad.h"

#include <QString>
#include <vector>

// One advertiser of a Campaign Chronicle history: every sighting of an ad whose shown address has its
// domain, summed up.
struct CProject3_Advertiser {
    QString domain;
    int adsSeen = 0;
    // Bits 1 << engine of the engines that showed its ads.
    unsigned engines = 0;
    // Packed minutes of the first and the last run that saw one of its ads.
    int firstSeen = 0;
    int lastSeen = 0;

    // The engines as "Google, Bing, Yahoo", in the order they are asked.
    QString EngineNames() const;
};

// The advertisers of a history, in the order their first ad came; ads without a domain are left out.
std::vector<CProject3_Advertiser> CollectAdvertisers(const std::vector<CProject3_Ad>& ads);

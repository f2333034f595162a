#pragma once

#include "parsers/se_result.h"

#include <QString>

class CDownloader_HTMLTags;

// One sighting of a search ad by a Campaign Chronicle run: which engine showed it, the ad, and when.
class CProject3_Ad {
  public:
    // Writes the record as children of node; ReadXml reads them back (false when node holds none).
    void WriteXml(CDownloader_HTMLTags& node) const;
    bool ReadXml(const CDownloader_HTMLTags* node);

    // The engine that showed the ad (CompetitionEngine).
    int engine = 0;
    CDownloader_Parsers_SE_result ad;
    // The run's date and time, packed minutes.
    int seen = 0;
};

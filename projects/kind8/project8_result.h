#pragma once

#include "parsers/se_result.h"

class CDownloader_HTMLTags;

// One organic result an Offer Compass search found: the engine, which of the two queries found it, and
// the result.
class CProject8_Result {
  public:
    // Writes the record as children of node; ReadXml reads them back (false when node holds none).
    void WriteXml(CDownloader_HTMLTags& node) const;
    bool ReadXml(const CDownloader_HTMLTags* node);

    // CompetitionEngine.
    int engine = 0;
    // 0 the affiliate-program query, 1 the CPA-offer query.
    int query = 0;
    CDownloader_Parsers_SE_result result;
};

#pragma once

#include "net/html_tags.h"
#include "parsers/se_result.h"

#include <QString>
#include <vector>

// The organic-result list that the engines lay out alike: one LI an item under a list element, each with an
// H3 heading whose link is the result, an element with the shown URL and one with the snippet.
namespace organic_results {

struct Layout {
    FindCriteria list;
    FindCriteria shownUrl;
    FindCriteria snippet;
};

// The items of the first list element on page as records numbered on from firstShown (from 1 when that is
// below 1, or too large for every item to get a number); linkTarget, when given, turns the heading link's
// href into the result's URL.
void Read(const CDownloader_HTMLTags& page, const Layout& layout, int firstShown,
          QString (*linkTarget)(const QString&), std::vector<CDownloader_Parsers_SE_result>& out);

} // namespace organic_results

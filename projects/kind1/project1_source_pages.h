#pragma once

#include "net/adwords_result.h"

#include <vector>

class CDownloader_HTMLTags;

// The two keyword sources whose pages kind 1 reads itself. Each appends one row per keyword found; a page
// without the expected part gives none.
namespace project1_pages {

// The free suggestion tool's rows: each row of the table of class "suggestions" with a count cell and a
// keyword cell; the count (digits, "," allowed) is its estimate of searches.
void ParseFreeSuggestions(const CDownloader_HTMLTags& page,
                          std::vector<CDownloader_Parsers_Adwords_result>& out);

// Ask's related searches: the text of every link in the block of class "related".
void ParseAskRelated(const CDownloader_HTMLTags& page, std::vector<CDownloader_Parsers_Adwords_result>& out);

} // namespace project1_pages

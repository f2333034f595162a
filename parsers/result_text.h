#pragma once

#include <QString>
#include <cstddef>

class CDownloader_HTMLTags;
class CDownloader_Parsers_SE_result;

// Clean-up steps shared by the search-result and ad parsers of every engine.
namespace result_text {

// The element names left out of a snippet or ad text, in the tree's exclusion-list form.
inline constexpr char16_t kSnippetExclusions[] = u" CITE TABLE A ";

// Cuts every trailing CR, LF, blank and "-" from the record's body, removes its leading white space, and
// when the body then holds a CR LF, puts the text before the first one in ad_line1 and the rest in ad_line2.
void CleanBodyAndSplitLines(CDownloader_Parsers_SE_result& record);

// text cut before the first occurrence of marker (unchanged when it has none).
QString CutAt(const QString& text, const QString& marker);

// Hands the numbers read from a result-count line to those of the outputs that are not null.
void StoreCount(int firstShown, int lastShown, float totalCount, int* first, int* last, float* total);

// The first and last result shown and the total from a count line whose text, trimmed and without its ","
// and any "about" (lower case), reads as format (two "%d" and a "%f"): -2 for each number it does not give.
// False, with -2 for all, when there is no line.
bool ReadCountLine(const CDownloader_HTMLTags* line, QStringView format, int* first, int* last, float* total);

// An ad link's target: when the link carries it after "&amp;q=", the value up to the next "&amp;"; then
// URL-decoded with "+" as a blank.
QString AdTargetUrl(const QString& href);

// An ad's record from the nodes of its title, link and text and its shown URL: the target read from the
// link's href as AdTargetUrl does, numbered from where it stood (index 0 is number 1) in its block, its text
// cleaned and split as CleanBodyAndSplitLines does.
CDownloader_Parsers_SE_result AdRecord(const CDownloader_HTMLTags* title, const CDownloader_HTMLTags* link,
                                       const QString& shownUrl, const CDownloader_HTMLTags* text,
                                       size_t index, int block);

} // namespace result_text

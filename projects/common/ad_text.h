#pragma once

#include "parsers/se_result.h"

#include <QString>

// The ad text on one line, as the ad reports of kinds 3 and 8 show it in a cell.
QString AdTextOneLine(const CDownloader_Parsers_SE_result& ad);
// The order of a's and b's AdTextOneLine ignoring case (as QString::compare does), without building them:
// a sort by the text compares every ad many times.
int CompareAdTextsOneLine(const CDownloader_Parsers_SE_result& a, const CDownloader_Parsers_SE_result& b);

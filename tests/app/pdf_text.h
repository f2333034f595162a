#pragma once

#include <QByteArray>
#include <QString>

namespace apptest {

// The text a PDF shows, read as a viewer reads it for search and copy: every page's content stream inflated,
// and the codes of each text operator (Tj, TJ) turned into characters through the ToUnicode map of the font
// selected for them (Tf). Each text object (BT ... ET) ends with a line break; a tab a font maps its blank
// glyph to reads as a blank. Empty when the file holds no readable page.
QString PdfText(const QByteArray& pdf);

} // namespace apptest

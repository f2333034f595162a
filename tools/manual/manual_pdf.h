#pragma once

#include <QString>

// Typesets the user manual, written in Markdown, into a PDF of numbered A4 pages in the look of the printed
// manual (the program's sans-serif face, coloured headings), with its fonts embedded so the text can be
// searched and copied. The file is written whole or not at all; false with the reason in error when it
// cannot be.
bool WriteManualPdf(const QString& markdown, const QString& pdfPath, QString& error);

#pragma once

#include "app/project_exporter.h"

// Reports as comma-separated values for spreadsheets: every cell in double quotes followed by a comma, one
// line per row and an empty line after each table.
class CProjectExporter_CSV : public CProjectExporter {
  public:
    void Title(const QString& text, int size) override;
    void Cell(const QString& text, bool bold, int align, float width) override;
    // The address is left out: a spreadsheet cell holds the text only.
    void LinkCell(const QString& text, const QString& url, bool bold, int align, float width) override;
    void EndRow() override;
    void EndTable() override;
};

// A cell's text as the file holds it inside its double quotes: quotes doubled, and a text that a spreadsheet
// would run as a formula (one starting with "=", "+", "-", "@", a tab or a carriage return, unless it is a
// plain number) led by an apostrophe, so scraped text never runs.
QString CsvCellText(const QString& text);

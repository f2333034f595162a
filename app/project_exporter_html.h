#pragma once

#include "app/project_exporter.h"

#include <QString>
#include <deque>

// Reports as an HTML page: each table indented by its nesting, a blue header row and data rows in two
// alternating shades.
class CProjectExporter_HTML : public CProjectExporter {
  public:
    bool Open(const QString& path) override;
    // Written only outside any table.
    void Title(const QString& text, int size) override;
    void BeginTable(bool flag, float width) override;
    void EndTable() override;
    void BeginRow(bool header) override;
    void EndRow() override;
    void Cell(const QString& text, bool bold, int align, float width) override;
    // Only web addresses (http, https) become links; a cell with any other address shows its text alone, so
    // an address read from an outside page cannot run script when the report is opened.
    void LinkCell(const QString& text, const QString& url, bool bold, int align, float width) override;
    // Ends the tables still open first.
    bool Close() override;

  private:
    // Writes the opening of a cell up to its closing '>', which the caller writes.
    void WriteCellOpening(int align, float width);

    // The flags and row counters of the tables around the current one, innermost first.
    std::deque<unsigned char> m_flagStack;
    std::deque<int> m_rowStack;
    bool m_tableFlag = false;
    bool m_rowEnded = false;
    int m_depth = 0;
    int m_rowCount = 0;
    QString m_indent;
};

// Cell text for the page: "&", "<" and ">" as entities, so scraped text never runs as markup,
// except the report markup tags <b>, </b>, <u> and </u> (any case), which pass as they are.
QString HtmlCellText(const QString& text);

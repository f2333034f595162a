#pragma once

#include "app/project_exporter.h"

#include <QString>
#include <deque>

// Reports as an HTML page: each table indented by its nesting, a blue header row and data rows in two
// alternating shades.
class CProjectExporter_HTML : public CProjectExporter {
  public:
    bool Open(const QString& path) override;
    void BeginTable(bool flag, float width) override;
    void EndTable() override;
    void BeginRow(bool header) override;
    void EndRow() override;
    void Cell(const QString& text, bool bold, int align, float width) override;
    // Ends the tables still open first.
    bool Close() override;

  private:
    // The row counters of the tables around the current one, innermost first.
    std::deque<int> m_rowStack;
    bool m_rowEnded = false;
    int m_depth = 0;
    int m_rowCount = 0;
    QString m_indent;
};

// Cell text for the page: "&", "<" and ">" as entities, so scraped text never runs as markup,
// except the report markup tags <b>, </b>, <u> and </u> (any case), which pass as they are.
QString HtmlCellText(const QString& text);

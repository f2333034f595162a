#pragma once

#include "app/project_exporter.h"

#include <QString>
#include <deque>

// Reports as an HTML page: each table indented by its nesting, a blue header row and data rows in two
// alternating shades.
class CProjectExporter_HTML : public CProjectExporter {
  public:
    bool Open(const QString& path) override;
    // Only outside any table; size 0 becomes 2.
    void Title(const QString& text, int size) override;
    void BeginTable(bool flag, float width) override;
    void EndTable() override;
    void BeginRow(bool header) override;
    void EndRow() override;
    void Cell(const QString& text, bool bold, int align, float width) override;
    void LinkCell(const QString& text, const QString& url, bool bold, int align, float width) override;
    // Ends the tables still open first.
    bool Close() override;

  private:
    // "<td" with the alignment and width attributes, after the indent.
    void OpenCell(int align, float width);

    // The flags and row counters of the tables around the current one, innermost first.
    std::deque<bool> m_flagStack;
    std::deque<int> m_rowStack;
    bool m_flag = false;
    bool m_rowEnded = false;
    int m_depth = 0;
    int m_rowCount = 0;
    QString m_indent;
};

// Cell and title text for the page: "&", "<" and ">" as entities, so scraped text never runs as markup,
// except the report markup tags <b>, </b>, <u> and </u> (any case), which pass as they are.
QString HtmlCellText(const QString& text);

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

class CSkinListBox;

// Writes the reports of a project into one file. The export command opens it, lets the project hand over its
// report grids (usually through ExportReport), closes it and destroys it through this interface. The text
// gathers in memory and Close writes it in one atomic step, so an export that fails leaves no torn file.
class CProjectExporter {
  public:
    CProjectExporter() = default;
    CProjectExporter(const CProjectExporter&) = delete;
    CProjectExporter& operator=(const CProjectExporter&) = delete;
    virtual ~CProjectExporter();

    // Prepares a write to path; false when no file can be written there (no such folder, a folder by that
    // name, a read-only file or folder).
    virtual bool Open(const QString& path);
    // A heading above or between tables; size: the HTML font size, 0 for the default.
    virtual void Title(const QString& text, int size);
    // width: in percent.
    virtual void BeginTable(bool flag, float width);
    virtual void EndTable();
    virtual void BeginRow(bool header);
    virtual void EndRow();
    // align: 1 left, 2 centre, 3 right, any other none; width: in percent, -1 for none.
    virtual void Cell(const QString& text, bool bold, int align, float width);
    // A cell whose text links to url; arguments otherwise as Cell.
    virtual void LinkCell(const QString& text, const QString& url, bool bold, int align, float width);
    // Writes the file and forgets it; false when the write failed (the previous file is then untouched).
    // Nothing to write answers true.
    virtual bool Close();

    // Writes the grid's exported columns and its visible rows in their current order, as one table.
    void ExportReport(CSkinListBox& grid, float width);

    bool IsOpen() const { return m_open; }

  protected:
    // Appends text in UTF-8, each line feed as CR LF. Nothing is written while closed.
    void Write(QStringView text);

  private:
    QString m_path;
    QByteArray m_bytes;
    bool m_open = false;
};

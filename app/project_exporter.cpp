#include "app/project_exporter.h"

#include "core/atomic_file.h"
#include "skin/skin_list_box.h"

#include <QDir>
#include <QFileInfo>

CProjectExporter::~CProjectExporter() = default;

bool CProjectExporter::Open(const QString& path) {
    const QFileInfo target(path);
    const QFileInfo folder(target.absolutePath());
    if (path.isEmpty() || target.isDir() || !folder.isDir() || !folder.isWritable() ||
        (target.exists() && !target.isWritable()))
        return false;
    m_path = target.absoluteFilePath();
    m_bytes.clear();
    m_open = true;
    return true;
}

void CProjectExporter::Title(const QString& /*text*/, int /*size*/) {}

void CProjectExporter::BeginTable(bool /*flag*/, float /*width*/) {}

void CProjectExporter::EndTable() {}

void CProjectExporter::BeginRow(bool /*header*/) {}

void CProjectExporter::EndRow() {}

void CProjectExporter::Cell(const QString& /*text*/, bool /*bold*/, int /*align*/, float /*width*/) {}

void CProjectExporter::LinkCell(const QString& /*text*/, const QString& /*url*/, bool /*bold*/, int /*align*/,
                                float /*width*/) {}

bool CProjectExporter::Close() {
    if (!m_open)
        return true;
    m_open = false;
    const bool written = WriteFileAtomically(m_path, m_bytes);
    m_bytes.clear();
    return written;
}

void CProjectExporter::Write(QStringView text) {
    if (!m_open)
        return;
    // Exports are mostly ASCII: runs of it are copied byte by byte, the rest goes through Qt's encoder. Runs
    // end only at ASCII characters, so no surrogate pair is ever cut.
    const char16_t* units = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        qsizetype end = i;
        qsizetype feeds = 0;
        for (; end < size && units[end] < 0x80; ++end)
            feeds += units[end] == u'\n';
        if (end > i) {
            const qsizetype at = m_bytes.size();
            m_bytes.resize(at + end - i + feeds);
            char* out = m_bytes.data() + at;
            for (; i < end; ++i) {
                if (units[i] == u'\n')
                    *out++ = '\r';
                *out++ = static_cast<char>(units[i]);
            }
        }
        while (end < size && units[end] >= 0x80)
            ++end;
        if (end > i) {
            m_bytes.append(text.sliced(i, end - i).toUtf8());
            i = end;
        }
    }
}

void CProjectExporter::ExportReport(CSkinListBox& grid, float width) {
    // A grid that has not painted since its content changed would still hold its old order.
    grid.UpdateItemCount();
    BeginTable(true, width);
    BeginRow(true);
    for (const CSkinListBox_Column& column : grid.m_columns)
        if (column.exported)
            Cell(column.title, true, column.headerAlign, -1);
    EndRow();

    CSkinListBox_Line line;
    line.textsOnly = true;
    const int rows = grid.VisibleCount();
    for (int row = 0; row < rows; ++row) {
        grid.InitLine(row, 0, 0, line);
        grid.GetItemText(line);
        BeginRow(false);
        for (int column = 0; column < int(grid.m_columns.size()); ++column) {
            if (!grid.m_columns[size_t(column)].exported)
                continue;
            const CSkinListBox_Item* first = nullptr;
            for (const CSkinListBox_Item& cell : line.cells) {
                if (cell.firstColumn == column) {
                    first = &cell;
                    break;
                }
            }
            if (first)
                Cell(first->text, false, first->align, -1);
            else
                Cell(QString(), false, 0, -1);
        }
        EndRow();
    }
    EndTable();
}

#include "app/project_exporter_csv.h"

using namespace Qt::StringLiterals;

QString CsvCellText(const QString& text) {
    QString quoted = text;
    quoted.replace(u'"', u"\"\""_s);
    // Numbers and keywords may start with '+' or '-'; only these two always start a formula.
    if (quoted.startsWith(u'=') || quoted.startsWith(u'@'))
        quoted.prepend(u'\'');
    return quoted;
}

void CProjectExporter_CSV::Title(const QString& text, int /*size*/) {
    Write(u"\""_s + CsvCellText(text) + u"\"\n"_s);
}

void CProjectExporter_CSV::Cell(const QString& text, bool /*bold*/, int /*align*/, float /*width*/) {
    Write(u"\""_s + CsvCellText(text) + u"\","_s);
}

void CProjectExporter_CSV::LinkCell(const QString& text, const QString& /*url*/, bool bold, int align,
                                    float width) {
    Cell(text, bold, align, width);
}

void CProjectExporter_CSV::EndRow() {
    Write(u"\n"_s);
}

void CProjectExporter_CSV::EndTable() {
    Write(u"\n"_s);
}

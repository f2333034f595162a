#include "app/project_exporter_csv.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// A number as the grid prints it, signed or not, its digits grouped by three or not ("-12", "-0.5",
// "-1,234.5"): a spreadsheet reads it as that number and runs nothing.
bool IsPlainNumber(const QString& text) {
    static const QRegularExpression kNumber(
        QRegularExpression::anchoredPattern(u"[+-]?([0-9]{1,3}(,[0-9]{3})+|[0-9]+)(\\.[0-9]+)?"_s));
    return kNumber.match(text).hasMatch();
}

} // namespace

QString CsvCellText(const QString& text) {
    // A spreadsheet runs a cell that starts with any of these as a formula; keywords with match operators
    // ("+red", "-cheap") are guarded too, as they cannot be told from an attack.
    static const QString kFormulaStarts = u"=+-@\t\r"_s;
    // Most cells need neither: they pass as they are, without a copy.
    if ((text.isEmpty() || !kFormulaStarts.contains(text.front())) && !text.contains(u'"'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', u"\"\""_s);
    if (!quoted.isEmpty() && kFormulaStarts.contains(quoted.front()) && !IsPlainNumber(quoted))
        quoted.prepend(u'\'');
    return quoted;
}

void CProjectExporter_CSV::Title(const QString& text, int /*size*/) {
    Write(u"\"");
    Write(CsvCellText(text));
    Write(u"\"\n");
}

void CProjectExporter_CSV::Cell(const QString& text, bool /*bold*/, int /*align*/, float /*width*/) {
    Write(u"\"");
    Write(CsvCellText(text));
    Write(u"\",");
}

void CProjectExporter_CSV::LinkCell(const QString& text, const QString& /*url*/, bool bold, int align,
                                    float width) {
    Cell(text, bold, align, width);
}

void CProjectExporter_CSV::EndRow() {
    Write(u"\n");
}

void CProjectExporter_CSV::EndTable() {
    Write(u"\n");
}

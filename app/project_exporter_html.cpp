#include "app/project_exporter_html.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

// Percentages as whole numbers, whatever the process locale.
QString Percent(float value) {
    return QString::number(double(value), 'f', 0) + u'%';
}

QString AlignAttribute(int align) {
    switch (align) {
    case 1:
        return u" align=left"_s;
    case 2:
        return u" align=center"_s;
    case 3:
        return u" align=right"_s;
    default:
        return QString();
    }
}

} // namespace

QString HtmlCellText(const QString& text) {
    static const std::array<QString, 4> kMarkup = {u"<b>"_s, u"</b>"_s, u"<u>"_s, u"</u>"_s};
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'<') {
            const QStringView rest = QStringView(text).mid(i);
            const auto tag = std::find_if(kMarkup.begin(), kMarkup.end(), [&](const QString& markup) {
                return rest.startsWith(markup, Qt::CaseInsensitive);
            });
            if (tag != kMarkup.end()) {
                out += rest.left(tag->size());
                i += tag->size() - 1;
            } else {
                out += u"&lt;"_s;
            }
        } else if (c == u'>') {
            out += u"&gt;"_s;
        } else if (c == u'&') {
            out += u"&amp;"_s;
        } else {
            out += c;
        }
    }
    return out;
}

bool CProjectExporter_HTML::Open(const QString& path) {
    if (!CProjectExporter::Open(path))
        return false;
    Write(u"<html>\n<body>\n<meta charset=\"utf-8\">\n"_s);
    m_indent = u"  "_s;
    m_depth = 0;
    m_rowEnded = false;
    m_rowStack.clear();
    return true;
}

void CProjectExporter_HTML::BeginTable(bool /*flag*/, float width) {
    // The attribute name is written as the reports have always had it.
    Write(m_indent + u"<table witdh="_s + Percent(width) + u">\n"_s);
    if (m_depth++ > 0)
        m_rowStack.push_front(m_rowCount);
    m_rowCount = 0;
    m_indent += u"   "_s;
    m_rowEnded = false;
}

void CProjectExporter_HTML::EndTable() {
    if (m_depth == 0)
        return;
    m_indent.remove(0, 3);
    if (--m_depth > 0) {
        m_rowCount = m_rowStack.front();
        m_rowStack.pop_front();
        m_rowEnded = true;
    }
    Write(u"\n"_s + m_indent + u"</table><br>\n"_s);
}

void CProjectExporter_HTML::BeginRow(bool header) {
    if (m_depth == 0)
        return;
    QString row = m_rowEnded ? u"<tr"_s : m_indent + u"<tr"_s;
    if (header) {
        row += u" bgcolor='#5191D3' style='color:white; font: 14px Arial bold'"_s;
    } else {
        ++m_rowCount;
        row += m_rowCount % 2 == 1 ? u" bgcolor='#A8DCFF' style='color:black; font: 12px Arial'"_s
                                   : u" bgcolor='#CFECFF' style='color:black; font: 12px Arial'"_s;
    }
    Write(row + u">\n"_s);
}

void CProjectExporter_HTML::EndRow() {
    if (m_depth == 0)
        return;
    Write(m_indent + u"</tr>"_s);
    m_rowEnded = true;
}

void CProjectExporter_HTML::Cell(const QString& text, bool bold, int align, float width) {
    QString cell = m_indent + u"   <td"_s + AlignAttribute(align);
    if (width != -1)
        cell += u" width="_s + Percent(width);
    const QString shown = HtmlCellText(text);
    Write(cell + (bold ? u"> <b>"_s + shown + u"</b> </td>\n"_s : u"> "_s + shown + u" </td>\n"_s));
}

bool CProjectExporter_HTML::Close() {
    while (m_depth > 0)
        EndTable();
    return CProjectExporter::Close();
}

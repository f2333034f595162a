#include "app/project_exporter_html.h"

#include <algorithm>
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

const std::array<QString, 4> kCellMarkup = {u"<b>"_s, u"</b>"_s, u"<u>"_s, u"</u>"_s};
const std::array<QString, 6> kTitleMarkup = {u"<b>"_s,  u"</b>"_s,  u"<u>"_s,
                                             u"</u>"_s, u"<sup>"_s, u"</sup>"_s};

// The text with "&", "<" and ">" as entities, except the markup tags named, which pass as they are.
template <size_t N> QString MarkupText(const QString& text, const std::array<QString, N>& tags) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'<') {
            const QStringView rest = QStringView(text).mid(i);
            const auto tag = std::find_if(tags.begin(), tags.end(), [&](const QString& markup) {
                return rest.startsWith(markup, Qt::CaseInsensitive);
            });
            if (tag != tags.end()) {
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

bool IsWebAddress(const QString& url) {
    return url.startsWith(u"http://"_s, Qt::CaseInsensitive) ||
           url.startsWith(u"https://"_s, Qt::CaseInsensitive);
}

// A web address for a single-quoted attribute: Qt's escape ("&", "<", ">", '"'), and "'" as well.
QString HtmlAttributeText(const QString& text) {
    return text.toHtmlEscaped().replace(u'\'', u"&#39;"_s);
}

} // namespace

QString HtmlCellText(const QString& text) {
    return MarkupText(text, kCellMarkup);
}

bool CProjectExporter_HTML::Open(const QString& path) {
    if (!CProjectExporter::Open(path))
        return false;
    Write(u"<html>\n<body>\n<meta charset=\"utf-8\">\n"_s);
    m_indent = u"  "_s;
    m_depth = 0;
    m_rowEnded = false;
    m_flagStack.clear();
    m_rowStack.clear();
    return true;
}

void CProjectExporter_HTML::Title(const QString& text, int size) {
    if (m_depth > 0)
        return;
    Write(m_indent + u"<font face=tahoma size="_s + QString::number(size == 0 ? 2 : size) + u'>' +
          MarkupText(text, kTitleMarkup) + u"</font><br>\n"_s);
}

void CProjectExporter_HTML::BeginTable(bool flag, float width) {
    // The attribute name is written as the reports have always had it.
    Write(m_indent + u"<table witdh="_s + Percent(width) + u">\n"_s);
    if (m_depth++ > 0) {
        m_flagStack.push_front(m_tableFlag ? 1 : 0);
        m_rowStack.push_front(m_rowCount);
    }
    m_tableFlag = flag;
    m_rowCount = 0;
    m_indent += u"   "_s;
    m_rowEnded = false;
}

void CProjectExporter_HTML::EndTable() {
    if (m_depth == 0)
        return;
    m_indent.remove(0, 3);
    if (--m_depth > 0) {
        m_tableFlag = m_flagStack.front() != 0;
        m_flagStack.pop_front();
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

QString CProjectExporter_HTML::CellOpening(int align, float width) const {
    QString cell = m_indent + u"   <td"_s + AlignAttribute(align);
    if (width != -1)
        cell += u" width="_s + Percent(width);
    return cell;
}

void CProjectExporter_HTML::Cell(const QString& text, bool bold, int align, float width) {
    const QString shown = HtmlCellText(text);
    Write(CellOpening(align, width) +
          (bold ? u"> <b>"_s + shown + u"</b> </td>\n"_s : u"> "_s + shown + u" </td>\n"_s));
}

void CProjectExporter_HTML::LinkCell(const QString& text, const QString& url, bool bold, int align,
                                     float width) {
    if (!IsWebAddress(url)) {
        Cell(text, bold, align, width);
        return;
    }
    const QString anchor = u"><a href='"_s + HtmlAttributeText(url) + u"' target=_blank> "_s;
    const QString shown = HtmlCellText(text);
    Write(CellOpening(align, width) + anchor +
          (bold ? u"<b>"_s + shown + u"</b> </a></td>\n"_s : shown + u" </a> </td>\n"_s));
}

bool CProjectExporter_HTML::Close() {
    while (m_depth > 0)
        EndTable();
    return CProjectExporter::Close();
}

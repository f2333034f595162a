#include "app/project_exporter_html.h"

#include <algorithm>
#include <array>

using namespace Qt::StringLiterals;

namespace {

// Percentages as whole numbers, whatever the process locale.
QString Percent(float value) {
    return QString::number(double(value), 'f', 0) + u'%';
}

QStringView AlignAttribute(int align) {
    switch (align) {
    case 1:
        return u" align=left";
    case 2:
        return u" align=center";
    case 3:
        return u" align=right";
    default:
        return {};
    }
}

const std::array<QString, 4> kCellMarkup = {u"<b>"_s, u"</b>"_s, u"<u>"_s, u"</u>"_s};
const std::array<QString, 6> kTitleMarkup = {u"<b>"_s,  u"</b>"_s,  u"<u>"_s,
                                             u"</u>"_s, u"<sup>"_s, u"</sup>"_s};

// The text with "&", "<" and ">" as entities, except the markup tags named, which pass as they are.
template <size_t N> QString MarkupText(const QString& text, const std::array<QString, N>& tags) {
    // Most texts hold none of the three: they pass as they are, without a copy.
    const auto special = [](QChar c) { return c == u'<' || c == u'>' || c == u'&'; };
    if (std::none_of(text.begin(), text.end(), special))
        return text;
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
    if (!m_rowEnded)
        Write(m_indent);
    Write(u"<tr");
    if (header) {
        Write(u" bgcolor='#5191D3' style='color:white; font: 14px Arial bold'");
    } else {
        ++m_rowCount;
        Write(m_rowCount % 2 == 1 ? u" bgcolor='#A8DCFF' style='color:black; font: 12px Arial'"
                                  : u" bgcolor='#CFECFF' style='color:black; font: 12px Arial'");
    }
    Write(u">\n");
}

void CProjectExporter_HTML::EndRow() {
    if (m_depth == 0)
        return;
    Write(m_indent);
    Write(u"</tr>");
    m_rowEnded = true;
}

void CProjectExporter_HTML::WriteCellOpening(int align, float width) {
    Write(m_indent);
    Write(u"   <td");
    Write(AlignAttribute(align));
    if (width != -1) {
        Write(u" width=");
        Write(Percent(width));
    }
}

void CProjectExporter_HTML::Cell(const QString& text, bool bold, int align, float width) {
    WriteCellOpening(align, width);
    Write(bold ? u"> <b>" : u"> ");
    Write(HtmlCellText(text));
    Write(bold ? u"</b> </td>\n" : u" </td>\n");
}

void CProjectExporter_HTML::LinkCell(const QString& text, const QString& url, bool bold, int align,
                                     float width) {
    if (!IsWebAddress(url)) {
        Cell(text, bold, align, width);
        return;
    }
    WriteCellOpening(align, width);
    Write(u"><a href='");
    Write(HtmlAttributeText(url));
    Write(u"' target=_blank> ");
    if (bold)
        Write(u"<b>");
    Write(HtmlCellText(text));
    Write(bold ? u"</b> </a></td>\n" : u" </a> </td>\n");
}

bool CProjectExporter_HTML::Close() {
    while (m_depth > 0)
        EndTable();
    return CProjectExporter::Close();
}

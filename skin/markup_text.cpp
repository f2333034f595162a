#include "skin/markup_text.h"

using namespace Qt::StringLiterals;

namespace skin {

namespace {

// A "<" opens a tag when a ">" follows and it is not among the last three characters.
qsizetype TagEnd(const QString& text, qsizetype lt) {
    if (lt >= text.size() - 3)
        return -1;
    return text.indexOf(u'>', lt + 1);
}

} // namespace

QList<MarkupRun> TokenizeMarkup(const QString& text, MarkupTags tags) {
    QList<MarkupRun> runs;
    MarkupFont font = MarkupFont::Normal;
    bool underline = false;
    QString pending;

    auto flush = [&] {
        if (!pending.isEmpty()) {
            runs.append({pending, font, underline});
            pending.clear();
        }
    };

    qsizetype pos = 0;
    while (pos < text.size()) {
        const QChar c = text.at(pos);
        const qsizetype end = c == u'<' ? TagEnd(text, pos) : -1;
        if (end < 0) {
            pending.append(c);
            ++pos;
            continue;
        }
        const QStringView tag = QStringView(text).mid(pos, end - pos + 1);
        auto is = [&](QLatin1StringView name) { return tag.compare(name, Qt::CaseInsensitive) == 0; };
        flush();
        if (is("<b>"_L1))
            font = MarkupFont::Bold;
        else if (is("</b>"_L1))
            font = MarkupFont::Normal;
        else if (is("<u>"_L1))
            underline = true;
        else if (is("</u>"_L1))
            underline = false;
        else if (tags == MarkupTags::Title && is("<sup>"_L1))
            font = MarkupFont::Sup;
        else if (tags == MarkupTags::Title && is("</sup>"_L1))
            font = MarkupFont::Normal;
        pos = end + 1;
    }
    flush();
    return runs;
}

QString MarkupPlainText(const QString& text, MarkupTags tags) {
    QString plain;
    for (const MarkupRun& run : TokenizeMarkup(text, tags))
        plain += run.text;
    return plain;
}

QString TitleMarkup(const QString& plainTitle) {
    QString markup = plainTitle;
    markup.replace(u"Tarnwick 2.0"_s, u"<b>Tarnwick 2.0</b> <sup>Beta</sup>"_s);
    return markup;
}

} // namespace skin

#pragma once

#include <QList>
#include <QString>

// Titles and report cells carry a tiny markup: <b>, </b>, <u>, </u> and, in titles, <sup>, </sup>, matched
// ignoring case. Drawing walks the runs this produces.

namespace skin {

enum class MarkupFont { Normal, Bold, Sup };

struct MarkupRun {
    QString text;
    MarkupFont font = MarkupFont::Normal;
    bool underline = false;

    bool operator==(const MarkupRun&) const = default;
};

enum class MarkupTags { Title, List };

// Splits markup into styled runs. A "<" that does not open a complete tag is kept as plain text; tags we do
// not know are dropped. Empty runs are left out.
QList<MarkupRun> TokenizeMarkup(const QString& text, MarkupTags tags);

// What markup reads as without its styles: the runs' texts, for places that show plain text only (the title
// the window manager shows for a dialog).
QString MarkupPlainText(const QString& text, MarkupTags tags);

// The markup a dialog shows for its plain title: the product name is set bold with a superscript "Beta".
QString TitleMarkup(const QString& plainTitle);

} // namespace skin

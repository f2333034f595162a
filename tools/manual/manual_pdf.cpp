#include "tools/manual/manual_pdf.h"

#include <QColor>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kResolution = 300;
constexpr qreal kBodyPoints = 10.5;
// Headings of levels 1 to 3.
constexpr qreal kHeadingPoints[] = {20.0, 14.0, 12.0};
constexpr qreal kHeadingSpaceAbove[] = {0.0, 16.0, 10.0};
const QColor kHeadingColor(0x1f, 0x4e, 0x79);

void StyleHeading(const QTextBlock& block, int level) {
    const int index = std::min(level, 3) - 1;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat text;
    text.setFontPointSize(kHeadingPoints[index]);
    text.setFontWeight(QFont::Bold);
    text.setForeground(kHeadingColor);
    cursor.mergeCharFormat(text);
    QTextBlockFormat spacing;
    spacing.setTopMargin(kHeadingSpaceAbove[index]);
    spacing.setBottomMargin(4.0);
    cursor.mergeBlockFormat(spacing);
}

std::unique_ptr<QTextDocument> TypesetManual(const QString& markdown) {
    auto document = std::make_unique<QTextDocument>();
    QFont body(u"Liberation Sans"_s);
    body.setPointSizeF(kBodyPoints);
    document->setDefaultFont(body);
    document->setMarkdown(markdown);
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        if (const int level = block.blockFormat().headingLevel(); level > 0)
            StyleHeading(block, level);
    return document;
}

} // namespace

bool WriteManualPdf(const QString& markdown, const QString& pdfPath, QString& error) {
    const std::unique_ptr<QTextDocument> document = TypesetManual(markdown);
    QSaveFile file(pdfPath);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setTitle(u"Tarnwick 2.0 User Manual"_s);
        writer.setCreator(u"Tarnwick 2.0"_s);
        writer.setResolution(kResolution);
        // Printing a document keeps margins of its own (2 cm) inside the page.
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(),
                                         QPageLayout::Millimeter));
        document->print(&writer);
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

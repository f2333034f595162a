#include "app/main_dlg.h"
#include "projects/project_factory.h"
#include "skin/skin_dlg_base.h"
#include "tests/app/pdf_text.h"
#include "tests/support/qstring_printer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray ReadBuilt(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The manual is built beside the program under the two names Help's Topics and F1 open it by, and its text,
// read as a PDF viewer reads it, tells about every kind the program makes and the reports' commands.
TEST(UserManual, BuiltBesideTheProgramUnderBothNamesAndCoversEveryKind) {
    const QString topicsPath = QStringLiteral(TW_MANUAL_TOPICS_PDF);
    const QString f1Path = QStringLiteral(TW_MANUAL_F1_PDF);
    const QString programFolder = QDir(QStringLiteral(TW_PROGRAM_DIR)).absolutePath();
    EXPECT_EQ(QFileInfo(topicsPath).absoluteDir().absolutePath(), programFolder);
    EXPECT_EQ(QFileInfo(f1Path).absoluteDir().absolutePath(), programFolder);
    EXPECT_EQ(QFileInfo(topicsPath).fileName(), CMainDlg::kManualName);
    EXPECT_EQ(QFileInfo(f1Path).fileName(), QFileInfo(CSkinDlg_Base::UserManualPath()).fileName());

    const QByteArray pdf = ReadBuilt(topicsPath);
    ASSERT_TRUE(pdf.startsWith("%PDF-")) << topicsPath.toStdString();
    EXPECT_EQ(ReadBuilt(f1Path), pdf);

    const QString text = apptest::PdfText(pdf);
    for (int kind = 1; kind <= 8; ++kind) {
        const std::unique_ptr<CProject> project = NewProjectOfKind(kind, kind);
        ASSERT_NE(project, nullptr);
        project->InitInfo();
        EXPECT_TRUE(text.contains(project->m_name))
            << "kind " << kind << ": " << project->m_name.toStdString();
    }
    for (const QString& topic : {u"Sorting"_s, u"Filters"_s, u"Copy"_s, u"Send to"_s, u"Export"_s,
                                 u"Preferences"_s, u"What the program does not do"_s})
        EXPECT_TRUE(text.contains(topic)) << topic.toStdString();
}

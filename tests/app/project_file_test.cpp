#include "app/new_project_dlg.h"
#include "core/atomic_file.h"
#include "net/saved_file.h"
#include "projects/keyword_input_project.h"
#include "skin/skin_constants.h"
#include "skin/skin_menu_popup.h"
#include "tests/app/app_test_support.h"
#include "tests/app/file_size_limit.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using apptest::ModalScript;
using apptest::OpenMainWindow;

namespace {

QByteArray Bytes(const char* text, size_t size) {
    return QByteArray(text, qsizetype(size));
}

QByteArray FileBytes(const QString& path) {
    QByteArray bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << path.toStdString();
    return bytes;
}

// Makes a project of the kind in the wizard with the keywords typed.
void CreateProject(OpenMainWindow& w, int kind, const QString& keywords) {
    w.script.Then(ModalScript::On<CNewProjectDlg>([=](CNewProjectDlg& wizard) {
        wizard.OnKeyPressed('0' + kind);
        if (CSkinElement* field = wizard.m_pFocus)
            field->SetText(keywords);
        wizard.OnCommand(u"on_ok"_s, 0);
    }));
    w.dlg.OnCommand(u"new_project"_s, 0);
    ASSERT_TRUE(w.script.Done());
}

QStringList KeywordsOfCurrent(const OpenMainWindow& w) {
    const auto* project =
        dynamic_cast<const CKeywordInputProject*>(w.dlg.m_projects[size_t(w.dlg.m_curProject)].get());
    return project ? project->Input().Keywords() : QStringList();
}

} // namespace

// Save writes the frame and the escaped values; the tab closes; open brings the same values back in a new
// tab of the same kind. The name gets ".twpx" unless it ends so exactly.
TEST(ProjectFiles, SaveCloseAndOpenGiveTheSameValues) {
    OpenMainWindow w;
    CreateProject(w, 4, u"a&b <c>;\"quoted\";"_s);
    QTemporaryDir dir;
    w.script.AnswerFileDialogs({{dir.filePath(u"report.TWPX"_s), 0}});
    w.dlg.OnCommand(u"save"_s, 0);
    ASSERT_EQ(w.script.fileRequests.size(), 1u);
    EXPECT_EQ(w.script.fileRequests[0].mode, plat::FileDialogRequest::Mode::Save);
    EXPECT_EQ(w.script.fileRequests[0].filters, QStringList{u"Tarnwick projects (*.twpx)"_s});
    const QString saved = dir.filePath(u"report.TWPX.twpx"_s);
    const char expected[] = "\r\n<Project4>\r\n   <main_keyword>a&amp;b &lt;c&gt;;\"quoted\";</main_keyword>"
                            "\r\n</Project4>";
    EXPECT_EQ(FileBytes(saved), Bytes(expected, sizeof expected));

    w.dlg.OnCommand(u"close_project"_s, 0);
    ASSERT_TRUE(w.dlg.m_projects.empty());
    w.script.AnswerFileDialogs({{saved, 0}});
    w.dlg.OnCommand(u"open"_s, 0);
    EXPECT_EQ(w.script.fileRequests.back().filters, QStringList{u"Tarnwick 2.0 projects (*.twpx)"_s});
    ASSERT_EQ(w.dlg.m_projects.size(), 1u);
    EXPECT_EQ(w.dlg.m_projects[0]->m_kind, 4);
    EXPECT_EQ(w.dlg.m_tabs[0]->m_caption, u"Rank Summit"_s);
    EXPECT_EQ(KeywordsOfCurrent(w), (QStringList{u"a&b <c>"_s, u"\"quoted\""_s}));
    EXPECT_FALSE(g_pCrawler->IsPaused());
    EXPECT_TRUE(w.dlg.hasTimer(CMainDlg::kProjectTimer));

    w.script.AnswerFileDialogs({{dir.filePath(u"plain"_s), 0}, {dir.filePath(u"named.twpx"_s), 0}});
    w.dlg.OnCommand(u"save"_s, 0);
    w.dlg.OnCommand(u"save"_s, 0);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(u"plain.twpx"_s)));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(u"named.twpx"_s)));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(u"named.twpx.twpx"_s)));
    EXPECT_TRUE(w.script.messages.empty());
}

// When ".twpx" was added and a file by that name exists, the user is asked first: No keeps it. A save that
// cannot be written says so and leaves the previous file whole, with no temporary file behind.
TEST(ProjectFiles, ReplacingAskedAndAFailedSaveKeepsTheOldFile) {
    OpenMainWindow w;
    CreateProject(w, 1, QString(20000, u'k'));
    QTemporaryDir dir;
    const QString path = dir.filePath(u"list.twpx"_s);
    ASSERT_TRUE(WriteFileAtomically(path, "old"));

    w.script.Then(ModalScript::Answer(skin::kResultNo));
    w.script.AnswerFileDialogs({{dir.filePath(u"list"_s), 0}});
    w.dlg.OnCommand(u"save"_s, 0);
    ASSERT_EQ(w.script.messages.size(), 1u);
    EXPECT_EQ(w.script.messages[0].text, u"list.twpx already exists.\nDo you want to replace it?"_s);
    EXPECT_EQ(w.script.messages[0].type, skin::kMessageYesNo | skin::kMessageQuestion);
    EXPECT_EQ(FileBytes(path), "old");

    w.script.Then(ModalScript::Answer(skin::kResultYes));
    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.script.AnswerFileDialogs({{dir.filePath(u"list"_s), 0}});
    {
        apptest::FileSizeLimit diskFull(4096);
        w.dlg.OnCommand(u"save"_s, 0);
    }
    ASSERT_EQ(w.script.messages.size(), 3u);
    EXPECT_EQ(w.script.messages[2].text, u"Cannot open file for writing."_s);
    EXPECT_EQ(w.script.messages[2].caption, u"Critical error"_s);
    EXPECT_EQ(w.script.messages[2].type, skin::kMessageStop);
    EXPECT_EQ(FileBytes(path), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"list.twpx"_s});
}

// Kinds that cannot save now say why; nothing is asked for a file.
TEST(ProjectFiles, SaveRefusalsNameTheirReason) {
    OpenMainWindow w;
    CreateProject(w, 1, u"kw"_s);
    CreateProject(w, 8, u"kw"_s);
    w.dlg.OnCommand(u"save"_s, 0);
    w.dlg.OnCommand(u"show_project"_s, 0);
    w.dlg.m_projects[0]->m_busy = true;
    w.dlg.OnCommand(u"save"_s, 0);
    ASSERT_EQ(w.script.messages.size(), 2u);
    EXPECT_EQ(w.script.messages[0].text, u"The open/save options are not available for this project."_s);
    EXPECT_EQ(w.script.messages[0].caption, u"Sorry"_s);
    EXPECT_EQ(w.script.messages[1].text, u"Saving while this project is still gathering data is disabled.\n"
                                         u"Please allow the project to finish before saving."_s);
    EXPECT_EQ(w.script.messages[1].caption, u"Operation canceled"_s);
    EXPECT_TRUE(w.script.fileRequests.empty());
    w.dlg.OnCommand(u"close_project"_s, 1);
    w.dlg.OnCommand(u"close_project"_s, 0);
    w.dlg.OnCommand(u"save"_s, 0);
    EXPECT_TRUE(w.script.fileRequests.empty()) << "no project, no save";
}

// A file without a project element opens nothing; a kind-5 file loads into the open kind-5 project; a file
// with several project elements makes one project, of the last kind found.
TEST(ProjectFiles, OpenDecidesTheKindFirstAndKeepsOneKind5Project) {
    OpenMainWindow w;
    QTemporaryDir dir;
    const QString other = dir.filePath(u"other.twpx"_s);
    ASSERT_TRUE(WriteFileAtomically(other, "\r\n<Settings>\r\n   <x>1</x>\r\n</Settings>"));
    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.script.AnswerFileDialogs({{other, 0}, {dir.filePath(u"missing.twpx"_s), 0}});
    w.dlg.OnCommand(u"open"_s, 0);
    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.dlg.OnCommand(u"open"_s, 0);
    ASSERT_EQ(w.script.messages.size(), 2u);
    for (const apptest::SeenMessage& message : w.script.messages) {
        EXPECT_EQ(message.text, u"Unrecognized file format. Load operation aborted."_s);
        EXPECT_EQ(message.caption, u"Critical Error"_s);
    }
    EXPECT_TRUE(w.dlg.m_projects.empty());
    EXPECT_TRUE(w.dlg.hasTimer(CMainDlg::kProjectTimer));

    const QString several = dir.filePath(u"several.twpx"_s);
    ASSERT_TRUE(WriteFileAtomically(several,
                                    "\r\n<Project2>\r\n   <main_keyword>two;</main_keyword>\r\n</Project2>"
                                    "\r\n<Project6>\r\n   <main_keyword>six;</main_keyword>\r\n</Project6>"));
    w.script.AnswerFileDialogs({{several, 0}});
    const int idBefore = g_pCrawler->TakeProjectId();
    w.dlg.OnCommand(u"open"_s, 0);
    ASSERT_EQ(w.dlg.m_projects.size(), 1u);
    EXPECT_EQ(w.dlg.m_projects[0]->m_kind, 6);
    EXPECT_EQ(w.dlg.m_projects[0]->m_id, idBefore + 1) << "one object made";
    EXPECT_EQ(KeywordsOfCurrent(w), QStringList{u"six"_s});

    CreateProject(w, 5, QString());
    const QString monitor = dir.filePath(u"monitor.twpx"_s);
    ASSERT_TRUE(WriteFileAtomically(monitor, "\r\n<Project5>\r\n</Project5>"));
    w.dlg.OnCommand(u"show_project"_s, 0);
    w.script.AnswerFileDialogs({{monitor, 0}});
    w.dlg.OnCommand(u"open"_s, 0);
    EXPECT_EQ(w.dlg.m_projects.size(), 2u);
    EXPECT_EQ(w.dlg.m_curProject, 1) << "the open kind-5 project took the file";
}

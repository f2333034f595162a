#include "app/new_project_dlg.h"
#include "app/project_file.h"
#include "core/atomic_file.h"
#include "projects/keyword_input_project.h"
#include "projects/kind1/project1.h"
#include "projects/kind2/project2.h"
#include "projects/kind4/project4.h"
#include "skin/skin_constants.h"
#include "tests/app/app_test_support.h"
#include "tests/app/file_size_limit.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using apptest::FileBytes;
using apptest::OpenMainWindow;
using skintest::ModalScript;

namespace {

// Makes a project of the kind (1 to 8) in the wizard with the keywords typed.
void CreateProject(OpenMainWindow& w, int kind, const QString& keywords) {
    w.script.Then(ModalScript::On<CNewProjectDlg>([=](CNewProjectDlg& wizard) {
        wizard.OnKeyPressed('0' + kind);
        if (CSkinElement* field = wizard.m_pFocus)
            field->SetText(keywords);
        wizard.OnCommand(u"on_ok"_s, 0);
    }));
    w.dlg.OnCommand(u"new_project"_s, 0);
}

QStringList CurrentKeywords(const OpenMainWindow& w) {
    const CProject* project = w.dlg.m_projects.at(size_t(w.dlg.m_curProject)).get();
    return dynamic_cast<const CKeywordInputProject&>(*project).Input().Keywords();
}

} // namespace

// Save writes the frame and the escaped values, under the name with ".twpx" added unless it ends so exactly;
// after the tab is closed, open brings the same values back in a tab of the same kind.
TEST(ProjectFiles, SaveCloseAndOpenGiveTheSameValues) {
    OpenMainWindow w;
    CreateProject(w, 4, u"a&b <c>;\"quoted\";"_s);
    QTemporaryDir dir;
    w.script.AnswerFileDialogs({{dir.filePath(u"report.TWPX"_s), 0}, {dir.filePath(u"named.twpx"_s), 0}});
    w.dlg.OnCommand(u"save"_s, 0);
    w.dlg.OnCommand(u"save"_s, 0);
    EXPECT_EQ(w.script.fileRequests[0].filters, QStringList{u"Tarnwick projects (*.twpx)"_s});
    const QString saved = dir.filePath(u"report.TWPX.twpx"_s);
    // A keyword record of the kind before its run started (it starts at the first tick).
    const auto keyword = [](const QByteArray& text) {
        QByteArray item = "\r\n      <item>\r\n         <keyword>" + text +
                          "</keyword>\r\n         <searches>-1.000000</searches>";
        for (const QByteArray engine : {"google", "bing", "yahoo"})
            item += "\r\n         <" + engine +
                    ">\r\n            <results>-1</results>\r\n            <top></top>" + "\r\n         </" +
                    engine + ">";
        return item + "\r\n      </item>";
    };
    const QByteArray expected =
        "\r\n<Project4>\r\n   <main_keyword>a&amp;b &lt;c&gt;;\"quoted\";</main_keyword>"
        "\r\n   <m_engine>0</m_engine>\r\n   <m_keywords>" +
        keyword("a&amp;b &lt;c&gt;") + keyword("\"quoted\"") +
        "\r\n   </m_keywords>\r\n   <m_sites></m_sites>\r\n   <rep1_filters></rep1_filters>\r\n   "
        "<m_status>0</m_status>\r\n   <m_done>0</m_done>"
        "\r\n   <m_total>0</m_total>\r\n   <m_lastError></m_lastError>\r\n   "
        "<rep1_selected>-1</rep1_selected>"
        "\r\n</Project4>" +
        QByteArray(1, '\0');
    EXPECT_EQ(FileBytes(saved), expected);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{u"named.twpx"_s, u"report.TWPX.twpx"_s}));

    w.dlg.OnCommand(u"close_project"_s, 0);
    w.script.AnswerFileDialogs({{saved, 0}});
    w.dlg.OnCommand(u"open"_s, 0);
    EXPECT_EQ(w.script.fileRequests.back().filters, QStringList{u"Tarnwick 2.0 projects (*.twpx)"_s});
    ASSERT_EQ(w.dlg.m_projects.size(), 1u);
    EXPECT_EQ(w.dlg.m_projects[0]->m_kind, 4);
    EXPECT_EQ(CurrentKeywords(w), (QStringList{u"a&b <c>"_s, u"\"quoted\""_s}));
    EXPECT_FALSE(g_pCrawler->IsPaused());
    EXPECT_TRUE(w.script.messages.empty());
}

// A file by the name with ".twpx" added is replaced only after a Yes. A save that cannot be written says so
// and leaves the previous file whole, with no temporary file behind. Kinds that cannot save say why.
TEST(ProjectFiles, ReplacingAskedFailuresAndRefusals) {
    OpenMainWindow w;
    CreateProject(w, 1, QString(5000, u'k'));
    QTemporaryDir dir;
    const QString path = dir.filePath(u"list.twpx"_s);
    ASSERT_TRUE(WriteFileAtomically(path, "old"));
    w.script.Then(ModalScript::Answer(skin::kResultNo));
    w.script.Then(ModalScript::Answer(skin::kResultYes));
    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.script.AnswerFileDialogs({{dir.filePath(u"list"_s), 0}, {dir.filePath(u"list"_s), 0}});
    w.dlg.OnCommand(u"save"_s, 0);
    {
        apptest::FileSizeLimit diskFull(1024);
        w.dlg.OnCommand(u"save"_s, 0);
    }
    EXPECT_EQ(FileBytes(path), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"list.twpx"_s});

    CreateProject(w, 8, u"kw"_s);
    w.dlg.OnCommand(u"save"_s, 0);
    w.dlg.OnCommand(u"show_project"_s, 0);
    w.dlg.m_projects[0]->m_busy = true;
    w.dlg.OnCommand(u"save"_s, 0);
    const std::pair<QString, QString> seen[] = {
        {u"list.twpx already exists.\nDo you want to replace it?"_s, u"Tarnwick 2.0"_s},
        {u"list.twpx already exists.\nDo you want to replace it?"_s, u"Tarnwick 2.0"_s},
        {u"Cannot open file for writing."_s, u"Critical error"_s},
        {u"The open/save options are not available for this project."_s, u"Sorry"_s},
        {u"Saving while this project is still gathering data is disabled.\nPlease allow the project to "
         u"finish "
         u"before saving."_s,
         u"Operation canceled"_s}};
    ASSERT_EQ(w.script.messages.size(), std::size(seen));
    for (size_t i = 0; i < std::size(seen); ++i) {
        EXPECT_EQ(w.script.messages[i].text, seen[i].first);
        EXPECT_EQ(w.script.messages[i].caption, seen[i].second);
    }
    EXPECT_EQ(w.script.messages[0].type, skin::kMessageYesNo | skin::kMessageQuestion);
    EXPECT_EQ(w.script.fileRequests.size(), 2u);
}

// A file without a project element, or none at all, opens nothing; a file with several makes one project, of
// the last kind; a kind-5 file loads into the open kind-5 project.
TEST(ProjectFiles, OpenDecidesTheKindFirstAndKeepsOneKind5Project) {
    OpenMainWindow w;
    QTemporaryDir dir;
    const QString other = dir.filePath(u"other.twpx"_s);
    const QString several = dir.filePath(u"several.twpx"_s);
    const QString monitor = dir.filePath(u"monitor.twpx"_s);
    ASSERT_TRUE(WriteFileAtomically(other, "\r\n<Settings>\r\n   <x>1</x>\r\n</Settings>"));
    ASSERT_TRUE(WriteFileAtomically(several, "<Project2><main_keyword>two;</main_keyword></Project2>"
                                             "<Project6><main_keyword>six;</main_keyword></Project6>"));
    ASSERT_TRUE(WriteFileAtomically(monitor, "<Project5></Project5>"));
    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.script.Then(ModalScript::Answer(skin::kResultOk));
    w.script.AnswerFileDialogs({{other, 0}, {dir.filePath(u"missing.twpx"_s), 0}, {several, 0}});
    w.dlg.OnCommand(u"open"_s, 0);
    w.dlg.OnCommand(u"open"_s, 0);
    EXPECT_TRUE(w.dlg.m_projects.empty());
    ASSERT_EQ(w.script.messages.size(), 2u);
    EXPECT_EQ(w.script.messages[1].text, u"Unrecognized file format. Load operation aborted."_s);
    EXPECT_EQ(w.script.messages[1].caption, u"Critical Error"_s);

    const int idBefore = g_pCrawler->TakeProjectId();
    w.dlg.OnCommand(u"open"_s, 0);
    ASSERT_EQ(w.dlg.m_projects.size(), 1u);
    EXPECT_EQ(w.dlg.m_projects[0]->m_kind, 6);
    EXPECT_EQ(w.dlg.m_projects[0]->m_id, idBefore + 1) << "one object made";
    EXPECT_EQ(CurrentKeywords(w), QStringList{u"six"_s});

    CreateProject(w, 5, QString());
    w.dlg.OnCommand(u"show_project"_s, 0);
    w.script.AnswerFileDialogs({{monitor, 0}});
    w.dlg.OnCommand(u"open"_s, 0);
    EXPECT_EQ(w.dlg.m_projects.size(), 2u);
    EXPECT_EQ(w.dlg.m_curProject, 1) << "the open kind-5 project took the file";
    EXPECT_TRUE(skin::HostWindow(w.dlg).hasTimer(CMainDlg::kProjectTimer));
}

// A damaged or edited file may hold figures that are no real numbers ("nan", "inf"): they
// open as not fetched, so the reports neither show nor sort by them and a save writes real numbers only.
TEST(ProjectFiles, FiguresThatAreNoNumbersOpenAsNotFetched) {
    OpenMainWindow w;
    QTemporaryDir dir;
    const QByteArray row = "<keyword>kw</keyword><estimatedSearch>nan</estimatedSearch><avgCPC>inf</avgCPC>"
                           "<avgCTR>-infinity</avgCTR><competition>+INF</competition>";
    const QByteArray files[] = {
        "<Project1><main_keyword>kw;</main_keyword><m_keywords><item>" + row +
            "</item></m_keywords></Project1>",
        "<Project2><main_keyword>kw;</main_keyword><m_records><record><keyword>kw</keyword><tool>" + row +
            "</tool><intent>nan</intent><google><results>inf</results></google></record></m_records>"
            "</Project2>",
        "<Project4><main_keyword>kw;</main_keyword><m_keywords><item><keyword>kw</keyword>"
        "<searches>-nan</searches><google><results>nan</results></google><bing><results>inf</results>"
        "</bing></item></m_keywords></Project4>"};
    for (const QByteArray& bytes : files) {
        const QString path = dir.filePath(u"figures.twpx"_s);
        ASSERT_TRUE(WriteFileAtomically(path, bytes));
        w.script.AnswerFileDialogs({{path, 0}});
        w.dlg.OnCommand(u"open"_s, 0);
        ASSERT_EQ(w.dlg.m_projects.size(), 1u) << bytes.toStdString();
        CProject* project = w.dlg.m_projects[0].get();
        const auto notFetched = [](const CDownloader_Parsers_Adwords_result& r) {
            EXPECT_EQ(r.estimatedSearch, -1.0f);
            EXPECT_EQ(r.avgCPC, -1.0f);
            EXPECT_EQ(r.avgCTR, -1.0f);
            EXPECT_EQ(r.competition, -1.0f);
        };
        if (auto* kind1 = dynamic_cast<CProject1*>(project)) {
            ASSERT_EQ(kind1->Keywords().size(), 1u);
            notFetched(kind1->Keywords()[0].m_row);
        } else if (auto* kind2 = dynamic_cast<CProject2*>(project)) {
            ASSERT_EQ(kind2->Records().size(), 1u);
            const CProject2_Keyword& record = kind2->Records()[0];
            notFetched(record.tool);
            EXPECT_EQ(record.intent, -1.0f);
            EXPECT_EQ(record.Engine(Project2Engine::Google).results, -1.0f);
        } else {
            const auto& keywords = dynamic_cast<CProject4&>(*project).Data().Keywords();
            ASSERT_EQ(keywords.size(), 1u);
            EXPECT_EQ(keywords[0].searches, -1.0f);
            EXPECT_EQ(keywords[0].results[kProject4Google], -1.0);
            EXPECT_EQ(keywords[0].results[kProject4Bing], -1.0);
        }

        const QString saved = dir.filePath(u"saved.twpx"_s);
        w.script.AnswerFileDialogs({{saved, 0}});
        w.dlg.OnCommand(u"save"_s, 0);
        const QByteArray written = FileBytes(saved).toLower();
        EXPECT_FALSE(written.isEmpty());
        EXPECT_FALSE(written.contains("nan") || written.contains("inf")) << written.toStdString();
        QFile::remove(saved);
        w.dlg.OnCommand(u"close_project"_s, 0);
    }
    EXPECT_TRUE(w.script.messages.empty());
}

// The kind is named by the last of "Project1".."Project8" found at any depth, whether the top level names
// one or not; a kind that does not stand at the top level is refused as incomplete.
TEST(ProjectFiles, KindIsTheLastNameFoundAtAnyDepth) {
    const struct {
        const char* text;
        int kind;
        int read;
    } files[] = {
        {"<Project6><a>1</a></Project6><Project2><a>2</a></Project2>", 6, 6},
        {"\r\n<PROJECT3>\r\n   <a>1</a>\r\n</project3>", 3, 3},
        {"<Project2><m_records><Project6></Project6></m_records></Project2>", 6, 0},
        {"<Project6><m_records><Project2></Project2></m_records></Project6>", 6, 6},
        {"<x><Project3></Project3><y><project5></project5></y></x>", 5, 0},
        {"<x><y><Project4>", 4, 0},
        {"<Project9></Project9><Project></Project><x>Project1</x><!-- <Project7> -->", 0, 0},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(u"kind.twpx"_s);
    for (const auto& file : files) {
        CDownloader_HTMLTags tree;
        tree.Parse(QString::fromLatin1(file.text));
        EXPECT_EQ(ProjectFileKind(tree), file.kind) << file.text;
        ASSERT_TRUE(WriteFileAtomically(path, file.text));
        CDownloader_HTMLTags read;
        EXPECT_EQ(ReadProjectFile(path, read), file.read) << file.text;
    }
}

#include "tests/projects/kind_test.h"

#include "app/new_project_dlg.h"
#include "app/project_file.h"
#include "net/saved_file.h"
#include "parsers/picture_code_prompt.h"
#include "parsers/search_parsers_state.h"
#include "skin/commands.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_holder.h"
#include "skin/skin_progress.h"
#include "skin/skin_slider.h"
#include "tests/support/skin_test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

using namespace Qt::StringLiterals;

namespace projtest {

std::vector<std::pair<QString, QByteArray>> DamagedSaves(const QByteArray& whole, int kind) {
    std::vector<std::pair<QString, QByteArray>> damaged;
    const qsizetype end = whole.lastIndexOf("</Project" + QByteArray::number(kind) + ">");
    EXPECT_GT(end, 0) << "no end tag of kind " << kind;
    for (const qsizetype cut : {whole.size() / 2, whole.size() * 9 / 10, end})
        damaged.emplace_back(u"cut at "_s + QString::number(cut) + u" of "_s + QString::number(whole.size()),
                             whole.left(cut));

    // Values are escaped, so every "</" opens an end tag: where each begins and ends.
    std::vector<std::pair<qsizetype, qsizetype>> endTags;
    for (qsizetype at = whole.indexOf("</"); at >= 0 && at < end; at = whole.indexOf("</", at + 2))
        endTags.emplace_back(at, whole.indexOf('>', at) + 1);
    endTags.emplace_back(end, whole.indexOf('>', end) + 1);
    if (endTags.size() < 2) {
        ADD_FAILURE() << "no inner end tag in the file of kind " << kind;
        return damaged;
    }
    const auto without = [&](std::pair<qsizetype, qsizetype> tag) {
        return whole.left(tag.first) + whole.mid(tag.second);
    };
    damaged.emplace_back(u"without its first inner end tag"_s, without(endTags.front()));
    damaged.emplace_back(u"without its last inner end tag"_s, without(endTags[endTags.size() - 2]));
    for (size_t i = 0; i + 1 < endTags.size(); ++i) {
        const auto [firstAt, firstEnd] = endTags[i];
        const auto [secondAt, secondEnd] = endTags[i + 1];
        if (!whole.mid(firstEnd, secondAt - firstEnd).trimmed().isEmpty())
            continue;
        damaged.emplace_back(u"closing "_s + QString::fromUtf8(whole.mid(firstAt, firstEnd - firstAt)) +
                                 u" after its parent"_s,
                             whole.left(firstAt) + whole.mid(secondAt, secondEnd - secondAt) +
                                 whole.mid(firstEnd, secondAt - firstEnd) +
                                 whole.mid(firstAt, firstEnd - firstAt) + whole.mid(secondEnd));
        break;
    }
    return damaged;
}

void KindTest::SetUp() {
    m_window = std::make_unique<apptest::OpenMainWindow>();
    g_pCrawler->allowCourtesy = false;
    g_searchParsers = SearchParsersState{};
    m_server.PointEndpoints();
    InstallPictureCodePrompt([this](CSkinDlg_Base*, const CDownloader&, QString& answer) {
        ++m_pictureAsks;
        answer = m_pictureCode;
        return kPictureCodeOk;
    });
}

void KindTest::TearDown() {
    m_window.reset();
    InstallPictureCodePrompt({});
    endpoints::ResetToDefaults();
    g_searchParsers = SearchParsersState{};
}

CProject* KindTest::Current() {
    CMainDlg& dlg = m_window->dlg;
    if (dlg.m_curProject < 0 || dlg.m_curProject >= int(dlg.m_projects.size()))
        return nullptr;
    return dlg.m_projects[size_t(dlg.m_curProject)].get();
}

CProject* KindTest::NewProject(int kind, const QString& keywords, bool firstTick) {
    CMainDlg& dlg = m_window->dlg;
    const size_t before = dlg.m_projects.size();
    m_window->script.Then(skintest::ModalScript::On<CNewProjectDlg>([&](CNewProjectDlg& wizard) {
        skintest::ClickElement(wizard, wizard.m_kindButtons[size_t(kind - 1)]);
        CSkinElement* field = wizard.m_pFocus.Get();
        ASSERT_NE(field, nullptr) << "the kind's page gives its field the focus";
        field->SetText(keywords);
        skintest::ClickElement(wizard, wizard.m_startButton);
    }));
    dlg.OnCommand(skin::cmd::kNewProject, 0);
    if (dlg.m_projects.size() == before)
        return nullptr;
    if (firstTick)
        Tick(1);
    return dlg.m_projects.back().get();
}

void KindTest::Tick(int count) {
    for (int i = 0; i < count; ++i) {
        m_window->dlg.ProjectTick();
        QCoreApplication::processEvents();
    }
}

bool KindTest::TickUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        Tick(1);
        QThread::msleep(2);
    }
    return true;
}

bool KindTest::SaveCurrent(const QString& fileName) {
    const size_t messages = m_window->script.messages.size();
    m_window->script.AnswerFileDialogs({{PathOf(fileName), 0}});
    m_window->dlg.OnCommand(skin::cmd::kSave, 0);
    return QFile::exists(PathOf(fileName)) && m_window->script.messages.size() == messages;
}

CProject* KindTest::OpenFile(const QString& fileName) {
    CMainDlg& dlg = m_window->dlg;
    const size_t before = dlg.m_projects.size();
    m_window->script.AnswerFileDialogs({{PathOf(fileName), 0}});
    dlg.OnCommand(skin::cmd::kOpen, 0);
    return dlg.m_projects.size() > before ? dlg.m_projects.back().get() : nullptr;
}

void KindTest::CloseCurrent() {
    const size_t before = m_window->dlg.m_projects.size();
    const int index = m_window->dlg.m_curProject;
    const bool asks = index >= 0 && m_window->dlg.m_projects[size_t(index)]->HasUnsavedResults();
    if (asks)
        m_window->script.Then(skintest::ModalScript::Answer(skin::kResultYes));
    m_window->dlg.OnCommand(skin::cmd::kCloseProject, index);
    EXPECT_TRUE(m_window->script.Done());
    EXPECT_EQ(m_window->dlg.m_projects.size(), before - 1);
}

CProject* KindTest::ExpectReopensAsShown(const QString& fileName) {
    CMainDlg& dlg = m_window->dlg;
    const QStringList shown = PageShown(dlg);
    EXPECT_TRUE(SaveCurrent(fileName)) << "not saved";
    EXPECT_FALSE(Current()->HasUnsavedResults()) << "saved results count as unsaved";
    CloseCurrent();

    const QByteArray whole = apptest::FileBytes(PathOf(fileName));
    CDownloader_HTMLTags tree;
    ParseSavedFileBytes(tree, whole);
    for (const auto& [damage, bytes] : DamagedSaves(whole, ProjectFileKind(tree))) {
        const QString damaged = u"damaged-"_s + fileName;
        QFile file(PathOf(damaged));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                    file.write(bytes) == bytes.size());
        file.close();
        const size_t messages = m_window->script.messages.size();
        m_window->script.Then(skintest::ModalScript::Answer(skin::kResultOk));
        EXPECT_EQ(OpenFile(damaged), nullptr) << "a file " << damage.toStdString() << " opened";
        EXPECT_EQ(m_window->script.messages.size(), messages + 1)
            << "no message for a file " << damage.toStdString();
        if (m_window->script.messages.size() > messages) {
            EXPECT_EQ(m_window->script.messages.back().text,
                      u"Unrecognized file format. Load operation aborted."_s);
        }
    }

    CProject* opened = OpenFile(fileName);
    EXPECT_NE(opened, nullptr);
    if (!opened)
        return nullptr;
    EXPECT_FALSE(opened->HasUnsavedResults()) << "what was just opened is in its file";
    EXPECT_EQ(PageShown(dlg).join(u'\n').toStdString(), shown.join(u'\n').toStdString())
        << "the reopened page (first) differs from the saved one";
    return opened;
}

QByteArray KindTest::ExportCurrent(const QString& fileName) {
    m_window->script.AnswerFileDialogs({{PathOf(fileName), fileName.endsWith(u".csv"_s) ? 1 : 0}});
    m_window->dlg.OnCommand(skin::cmd::kExport, 0);
    QFile file(PathOf(fileName));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void KindTest::ClickCell(CSkinListBox& grid, int row, int columnId) {
    CMainDlg& dlg = m_window->dlg;
    dlg.RedrawNow();
    int x = -1;
    for (const CSkinListBox_Column& column : grid.m_columns)
        if (column.id == columnId)
            x = column.x - grid.m_scrollX + CSkinListBox::kColumnGap;
    ASSERT_GE(x, 0) << "no column " << columnId;
    const plat::Point at = grid.GetDialogPos();
    const int y = at.y + CSkinListBox::kHeaderHeight + row * grid.Pitch() + grid.Pitch() / 2;
    dlg.onMouseMove(at.x + x, y);
    dlg.onLButtonDown(at.x + x, y);
    dlg.onLButtonUp(at.x + x, y);
}

namespace {

void AddShown(CSkinElement& element, QStringList& lines) {
    if (!element.m_visible)
        return;
    if (auto* holder = dynamic_cast<CSkinDlgHolder*>(&element)) {
        for (const CSkinDlgHolder_Element& child : holder->Children())
            if (child.element != &element)
                AddShown(*child.element, lines);
    } else if (auto* grid = dynamic_cast<CSkinListBox*>(&element)) {
        QStringList titles;
        for (const CSkinListBox_Column& column : grid->m_columns)
            titles << column.title;
        lines << u"grid: "_s + titles.join(u" | "_s);
        // The lines as last painted: a grid that was not told of new content still shows the old.
        for (const CSkinListBox_Line& line : grid->Lines()) {
            QStringList cells;
            for (const CSkinListBox_Item& cell : line.cells)
                cells << cell.text;
            lines << u"   "_s + cells.join(u" | "_s);
        }
    } else if (auto* progress = dynamic_cast<CSkinProgress*>(&element)) {
        lines << u"progress: "_s + progress->m_format;
    } else if (auto* slider = dynamic_cast<CSkinSlider*>(&element)) {
        lines << u"slider: "_s + QString::number(slider->m_position);
    } else {
        lines << element.m_className + u": "_s + element.GetText();
    }
}

} // namespace

QStringList PageShown(CMainDlg& dlg) {
    dlg.RedrawNow();
    QStringList lines;
    AddShown(dlg.m_rootHolder, lines);
    return lines;
}

std::vector<QStringList> ShownCells(CSkinListBox& grid) {
    grid.UpdateItemCount();
    std::vector<QStringList> rows;
    CSkinListBox_Line line;
    for (int row = 0; row < grid.VisibleCount(); ++row) {
        grid.InitLine(row, 0, 0, line);
        grid.GetItemText(line);
        QStringList& cells = rows.emplace_back();
        for (const CSkinListBox_Item& cell : line.cells)
            cells << cell.text;
    }
    return rows;
}

void KindTest::FilterColumn(CSkinListBox& grid, int columnId,
                            std::function<void(CSkinListBox_FilterDlg&)> act) {
    CMainDlg& dlg = m_window->dlg;
    dlg.RedrawNow();
    int right = -1;
    for (const CSkinListBox_Column& column : grid.m_columns)
        if (column.id == columnId)
            right = column.x - grid.m_scrollX + column.width + CSkinListBox::kColumnGap;
    ASSERT_GE(right, 0) << "no column " << columnId;
    m_window->script.Then(skintest::ModalScript::On<CSkinListBox_FilterDlg>(std::move(act)));
    const plat::Point at = grid.GetDialogPos();
    const int x = at.x + right - 5;
    const int y = at.y + CSkinListBox::kHeaderHeight - 8;
    dlg.onMouseMove(x, y);
    dlg.onLButtonDown(x, y);
    dlg.onLButtonUp(x, y);
    EXPECT_TRUE(m_window->script.Done()) << "no filter dialog opened";
}

void KindTest::ExpectSameAsDataFile(const QByteArray& actual, const QString& expectedName) {
    const QByteArray expected = QByteArray::fromStdString(FixtureServer::ReadDataFile(expectedName));
    EXPECT_EQ(actual, expected) << "differs from " << expectedName.toStdString();
    if (actual == expected)
        return;
    const QString keep = QDir(QCoreApplication::applicationDirPath())
                             .filePath(u"actual-"_s + QString(expectedName).replace(u'/', u'-'));
    QFile out(keep);
    if (out.open(QIODevice::WriteOnly))
        out.write(actual);
}

} // namespace projtest

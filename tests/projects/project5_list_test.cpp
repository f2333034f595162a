#include "core/packed_minutes.h"
#include "net/http_url.h"
#include "net/saved_file.h"
#include "projects/kind5/project5_list_lock.h"
#include "projects/kind5/project5_site.h"
#include "skin/input_dlg.h"
#include "skin/skin_constants.h"
#include "tests/projects/kind_test.h"
#include "tests/projects/project5_test_support.h"
#include "tests/support/skin_test_support.h"
#include "tests/support/test_clock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <gtest/gtest.h>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using kind5test::ChooseMonitor;
using kind5test::DataBytes;
using kind5test::FileBytes;
using kind5test::Program;
using skintest::ModalScript;

namespace {

// The list file of the program whose folders lie below root, made ready to hold bytes.
QString ListFileIn(const QTemporaryDir& root, const QByteArray& bytes) {
    const QString data = apptest::TemporaryFolders(root).dataDir;
    QDir().mkpath(data);
    const QString path = data + u"/project5.zxml"_s;
    EXPECT_TRUE(WriteFileAtomically(path, bytes));
    return path;
}

// Adds the pair as the user does: the page's button, the keyword, then the site.
void AddPair(Program& program, const QString& keyword, const QString& site) {
    for (const QString& text : {keyword, site}) {
        program.script.Then(ModalScript::On<CInputDlg>([text](CInputDlg& dlg) {
            dlg.m_edit.SetText(text);
            dlg.OnCommand(u"on_ok"_s, 0);
        }));
    }
    program.dlg.OnCommand(CProject5::kAddCommand, 0);
}

QStringList Pairs(const CProject5& project) {
    QStringList pairs;
    for (const CProject5_Entry& entry : project.m_list.m_entries)
        pairs.append(entry.m_keyword + u" @ "_s + entry.m_site + u" x"_s +
                     QString::number(entry.m_checks.size()));
    return pairs;
}

} // namespace

// The wizard makes and drops a kind-5 object at every opening: cancelled, or with kind 5 chosen while one is
// open, it leaves the list file byte for byte. An opened kind-5 file goes into the open project, its known
// pairs skipped, and the list is saved; a saved project file holds the list; the next run of the program
// shows the same pairs and history without writing the file.
TEST(BidWatchtowerList, OutlivesTheProgramAndTakesOpenedFiles) {
    // The wall clock the checks are dated and scheduled by; the monotonic clock stays real for the pool.
    twtest::TestClock clock({.utcSeconds = QDateTime(QDate(2026, 3, 11), QTime(10, 0)).toSecsSinceEpoch()});
    QTemporaryDir root;
    const QByteArray filled = DataBytes(u"list_two_days.zxml"_s);
    const QString list = ListFileIn(root, filled);
    const QStringList merged{u"running shoes @ shoeshop.com x2"_s, u"hiking boots @ bootbarn.net x2"_s,
                             u"trail shoes @ trailgear.com x1"_s};
    {
        Program program(root);
        program.dlg.OnCommand(u"new_project"_s, 0);
        EXPECT_EQ(program.script.unscripted, 1) << "the wizard was cancelled";
        EXPECT_EQ(FileBytes(list), filled);

        CProject5& project = ChooseMonitor(program.script, program.dlg);
        EXPECT_EQ(Pairs(project),
                  (QStringList{u"running shoes @ shoeshop.com x2"_s, u"hiking boots @ bootbarn.net x2"_s}));
        EXPECT_FALSE(project.m_hasResults) << "the list keeps its history itself";
        EXPECT_EQ(&ChooseMonitor(program.script, program.dlg), &project) << "one kind-5 project at a time";
        EXPECT_EQ(program.dlg.m_projects.size(), 1u);
        EXPECT_EQ(FileBytes(list), filled);

        program.script.AnswerFileDialogs(
            {{QStringLiteral(TW_PROJECTS_TEST_DATA_DIR "/kind5/merge.twpx"), 0}});
        program.dlg.OnCommand(u"open"_s, 0);
        EXPECT_EQ(program.dlg.m_projects.size(), 1u);
        EXPECT_EQ(Pairs(project), merged);
        EXPECT_EQ(project.m_list.m_intervalHours, 6) << "the open list keeps its own schedule";
        CProject5_List saved;
        ASSERT_EQ(saved.LoadFile(list), CProject5_List::FileState::Loaded);
        EXPECT_EQ(saved.m_entries.size(), 3u);

        // Stopped, the schedule and a new interval are kept for the next run.
        program.dlg.OnCommand(u"prj5_stop"_s, 0);
        project.m_interval.m_position = 12;
        program.dlg.ProjectTick();
        EXPECT_EQ(program.dlg.commands.count(u"prj5_start"_s), 0);
        QTemporaryDir out;
        program.script.AnswerFileDialogs({{out.filePath(u"watch.twpx"_s), 0}});
        program.dlg.OnCommand(u"save"_s, 0);
        EXPECT_EQ(FileBytes(out.filePath(u"watch.twpx"_s)), FileBytes(list));
        EXPECT_TRUE(program.script.messages.empty());
    }
    const QByteArray before = FileBytes(list);
    Program restarted(root);
    CProject5& project = ChooseMonitor(restarted.script, restarted.dlg);
    EXPECT_EQ(Pairs(project), merged);
    EXPECT_EQ(project.m_list.m_entries[2].m_checks[0].m_positions[0], 1);
    EXPECT_EQ(project.m_list.m_intervalHours, 12);
    EXPECT_FALSE(project.m_page.m_bar.IsRunning());
    EXPECT_EQ(FileBytes(list), before);
}

// A kind-5 project file opened after its tab was closed shows the page as it was; the file cut short, or
// with an end tag lost or out of order, is refused with a message and leaves the list as it was.
TEST(BidWatchtowerList, AReopenedProjectShowsWhatWasSaved) {
    twtest::TestClock clock({.utcSeconds = QDateTime(QDate(2026, 3, 11), QTime(10, 0)).toSecsSinceEpoch()});
    QTemporaryDir root;
    const QByteArray filled = DataBytes(u"list_two_days.zxml"_s);
    const QString list = ListFileIn(root, filled);
    Program program(root);
    ChooseMonitor(program.script, program.dlg);
    const QStringList shown = projtest::PageShown(program.dlg);
    ASSERT_TRUE(shown.join(u'\n').contains(u"shoeshop.com"_s)) << shown.join(u'\n').toStdString();
    QTemporaryDir out;
    program.script.AnswerFileDialogs({{out.filePath(u"watch.twpx"_s), 0}});
    program.dlg.OnCommand(u"save"_s, 0);
    const QByteArray saved = FileBytes(out.filePath(u"watch.twpx"_s));
    program.script.Then(ModalScript::Answer(skin::kResultYes));
    program.dlg.OnCommand(u"close_project"_s, 0);
    ASSERT_TRUE(program.dlg.m_projects.empty());

    for (const auto& [damage, bytes] : projtest::DamagedSaves(saved, 5)) {
        QFile damaged(out.filePath(u"damaged.twpx"_s));
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write(bytes);
        damaged.close();
        program.script.messages.clear();
        program.script.AnswerFileDialogs({{damaged.fileName(), 0}});
        program.dlg.OnCommand(u"open"_s, 0);
        EXPECT_TRUE(program.dlg.m_projects.empty()) << damage.toStdString();
        ASSERT_EQ(program.script.messages.size(), 1u) << damage.toStdString();
        EXPECT_EQ(program.script.messages[0].text, u"Unrecognized file format. Load operation aborted."_s);
        EXPECT_EQ(FileBytes(list), filled) << damage.toStdString();
    }

    program.script.AnswerFileDialogs({{out.filePath(u"watch.twpx"_s), 0}});
    program.dlg.OnCommand(u"open"_s, 0);
    ASSERT_EQ(program.dlg.m_projects.size(), 1u);
    EXPECT_EQ(projtest::PageShown(program.dlg).join(u'\n').toStdString(), shown.join(u'\n').toStdString());
    EXPECT_EQ(FileBytes(list), filled);
}

// Two running programs never both own the list: while another holds its lock, kind 5 is refused with a
// message from the wizard and from a file, and the list stays untouched; once the other lets go, or died
// holding it, kind 5 opens.
TEST(BidWatchtowerList, OnlyOneProgramOwnsTheList) {
    QTemporaryDir root;
    const QByteArray filled = DataBytes(u"list_two_days.zxml"_s);
    const QString list = ListFileIn(root, filled);
    Program program(root);
    auto other = std::make_unique<QLockFile>(CProject5_ListLock::LockPath(list));
    ASSERT_TRUE(other->tryLock());

    program.script.Then(ModalScript::On<CNewProjectDlg>([&](CNewProjectDlg& wizard) {
        skintest::ClickElement(wizard, wizard.m_kindButtons[4]);
        wizard.EndSkinDialog(skin::kResultCancel);
    }));
    program.script.Then(ModalScript::Answer(skin::kResultOk));
    program.dlg.OnCommand(u"new_project"_s, 0);
    program.script.AnswerFileDialogs({{QStringLiteral(TW_PROJECTS_TEST_DATA_DIR "/kind5/merge.twpx"), 0}});
    program.dlg.OnCommand(u"open"_s, 0);
    EXPECT_TRUE(program.dlg.m_projects.empty());
    ASSERT_EQ(program.script.messages.size(), 2u);
    for (const skintest::SeenMessage& message : program.script.messages)
        EXPECT_EQ(message.text, CProject5::kListInUse);
    EXPECT_EQ(FileBytes(list), filled);

    // The other program ends; this one takes the list and holds it from now on.
    other->unlock();
    CProject5& project = ChooseMonitor(program.script, program.dlg);
    EXPECT_EQ(project.m_list.m_entries.size(), 2u);
    EXPECT_FALSE(other->tryLock());
    program.dlg.OnCommand(u"close_project"_s, 0);
    ASSERT_TRUE(program.dlg.m_projects.empty());

    // A program that died holding the lock: its lock file names a process that is gone.
    ASSERT_TRUE(other->tryLock());
    const QByteArray lockText = FileBytes(CProject5_ListLock::LockPath(list));
    other.reset();
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    ASSERT_GT(child, 0);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    QByteArray dead = lockText;
    dead.replace(0, dead.indexOf('\n'), QByteArray::number(qint64(child)));
    ASSERT_TRUE(WriteFileAtomically(CProject5_ListLock::LockPath(list), dead));
    EXPECT_EQ(ChooseMonitor(program.script, program.dlg).m_list.m_entries.size(), 2u);
    EXPECT_NE(FileBytes(CProject5_ListLock::LockPath(list)), dead)
        << "the dead program's lock was taken over";
}

// A list file that is there but cannot be read as a list is never written over: the page says so, and a
// pair added is kept for this run only.
TEST(BidWatchtowerList, AnUnreadableListIsNeverWrittenOver) {
    QTemporaryDir root;
    const QByteArray foreign = "\r\n<ProjectCrawler>\r\n   <hist_str>x</hist_str>\r\n</ProjectCrawler>";
    const QString list = ListFileIn(root, foreign);
    Program program(root);
    CProject5& project = ChooseMonitor(program.script, program.dlg);
    EXPECT_FALSE(project.m_page.m_bar.ErrorText().isEmpty());
    AddPair(program, u"red shoes"_s, u"shoes.example"_s);
    EXPECT_EQ(project.m_list.m_entries.size(), 1u);
    EXPECT_EQ(FileBytes(list), foreign);
}

// A list file cut short, or with a pair or value that lost a tag, is damaged: the page says so and shows no
// pairs, and neither an added pair nor a tick writes over the file (closing asks before the added pair goes),
// so once it is mended every pair and its history are back. The whole file loads each pair once, in its
// order: a pair repeated in other letters is dropped.
TEST(BidWatchtowerList, ADamagedListIsNeverWrittenOver) {
    QTemporaryDir root;
    const QString list = ListFileIn(root, QByteArray());
    CProject5_List twenty;
    for (int i = 0; i < 20; ++i) {
        CProject5_Entry entry;
        entry.m_keyword = u"shoes "_s + QString::number(i);
        entry.m_site = u"shop"_s + QString::number(i % 3) + u".example"_s;
        for (int day = 9; day <= 10; ++day) {
            CProject5_Check check;
            check.m_date = PackMinutes(2026, 3, day, 9, i);
            check.m_positions[0] = i % 4;
            entry.m_checks.push_back(check);
        }
        twenty.m_entries.push_back(entry);
    }
    CProject5_Entry repeated;
    repeated.m_keyword = u"SHOES 7"_s;
    repeated.m_site = u"shop1.example"_s;
    twenty.m_entries.insert(twenty.m_entries.begin() + 10, repeated);
    ASSERT_TRUE(twenty.SaveFile(list));
    const QByteArray whole = FileBytes(list);
    const auto replaced = [&whole](const QByteArray& from, const QByteArray& to) {
        QByteArray bytes = whole;
        const qsizetype at = bytes.indexOf(from);
        EXPECT_GE(at, 0) << from.toStdString();
        return bytes.replace(at, from.size(), to);
    };
    const struct {
        const char* what;
        QByteArray bytes;
    } damaged[] = {
        {"cut in half", whole.left(whole.size() / 2)},
        {"cut before the end tag", whole.left(whole.lastIndexOf("</Project5>"))},
        {"a pair's end tag lost", replaced("</entry>", "")},
        {"a check's end tag lost", replaced("</check>", "")},
        {"a value's end tag lost", replaced("</m_status>", "")},
        {"a start tag lost", replaced("<m_site>", "")},
        {"a pair without its site", replaced("<m_site>shop0.example</m_site>", "<m_site></m_site>")},
    };

    Program program(root);
    // The pair added lives in this run only: closing the tab asks before it goes.
    const auto closeProject = [&program] {
        const size_t messages = program.script.messages.size();
        program.script.Then(ModalScript::Answer(skin::kResultYes));
        program.dlg.OnCommand(u"close_project"_s, 0);
        ASSERT_TRUE(program.dlg.m_projects.empty());
        EXPECT_EQ(program.script.messages.size(), messages + 1);
    };
    for (const auto& c : damaged) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteFileAtomically(list, c.bytes));
        CProject5& project = ChooseMonitor(program.script, program.dlg);
        EXPECT_TRUE(project.m_list.m_entries.empty());
        EXPECT_EQ(project.m_page.m_bar.ErrorText(), CProject5::kDamagedList);
        EXPECT_TRUE(projtest::PageShown(program.dlg).join(u'\n').contains(CProject5::kDamagedList));
        AddPair(program, u"red shoes"_s, u"shoes.example"_s);
        EXPECT_EQ(project.m_list.m_entries.size(), 1u);
        program.dlg.ProjectTick();
        EXPECT_EQ(FileBytes(list), c.bytes);
        closeProject();
    }

    ASSERT_TRUE(WriteFileAtomically(list, whole));
    CProject5& project = ChooseMonitor(program.script, program.dlg);
    EXPECT_TRUE(project.m_page.m_bar.ErrorText().isEmpty());
    QStringList expected;
    for (int i = 0; i < 20; ++i)
        expected.append(u"shoes %1 @ shop%2.example x2"_s.arg(i).arg(i % 3));
    EXPECT_EQ(Pairs(project), expected);
    EXPECT_EQ(project.m_list.m_entries[19].m_checks[1].m_date, PackMinutes(2026, 3, 10, 9, 19));
    EXPECT_EQ(FileBytes(list), whole) << "reading the list wrote it";
}

// Nothing is lost by one click: Delete asks before a pair's history goes (No keeps it), a pair without
// checks goes at once, and the running check's count keeps to the pairs that remain. A site typed with a
// blank after it is taken. The list saves itself, so closing the window with only kind 5 open asks nothing.
TEST(BidWatchtowerList, DeleteAsksBeforeAHistoryGoesAndClosingAsksNothing) {
    twtest::TestClock clock({.utcSeconds = QDateTime(QDate(2026, 3, 11), QTime(10, 0)).toSecsSinceEpoch()});
    QTemporaryDir root;
    const QString list = ListFileIn(root, DataBytes(u"list_two_days.zxml"_s));
    Program program(root);
    CProject5& project = ChooseMonitor(program.script, program.dlg);
    skin::HostWindow(program.dlg).killTimer(CMainDlg::kProjectTimer);
    AddPair(program, u"trail shoes"_s, u"trailgear.com \r\n bootbarn.net"_s);
    ASSERT_EQ(Pairs(project),
              (QStringList{u"running shoes @ shoeshop.com x2"_s, u"hiking boots @ bootbarn.net x2"_s,
                           u"trail shoes @ trailgear.com x0"_s, u"trail shoes @ bootbarn.net x0"_s}));
    const auto shows = [&program](const QString& text) {
        return projtest::PageShown(program.dlg).join(u'\n').contains(text);
    };
    EXPECT_TRUE(shows(u"4 pairs watched"_s));

    // The two new pairs are due: the run asks for their six requests and checks the first.
    ASSERT_TRUE(project.m_page.m_bar.IsRunning());
    program.dlg.ProjectTick();
    ASSERT_EQ(project.m_page.m_bar.Total(), 6);
    project.m_rep.SelectRange(3, 3);
    program.dlg.OnCommand(CProject5::kDeleteCommand, 0);
    EXPECT_TRUE(program.script.messages.empty()) << "a pair without checks goes without a question";
    EXPECT_EQ(project.m_list.m_entries.size(), 3u);
    EXPECT_EQ(project.m_page.m_bar.Total(), project.m_page.m_bar.Done() + 3) << "the deleted pair's requests";
    EXPECT_TRUE(shows(u"3 pairs watched"_s));

    project.m_rep.SelectRange(0, 0);
    program.script.Then(ModalScript::Answer(skin::kResultNo));
    program.dlg.OnCommand(CProject5::kDeleteCommand, 0);
    ASSERT_EQ(program.script.messages.size(), 1u);
    EXPECT_EQ(program.script.messages[0].text, u"Delete running shoes / shoeshop.com and its 2 checks?"_s);
    EXPECT_EQ(project.m_list.m_entries.size(), 3u);
    project.m_rep.SelectRange(0, 1);
    program.script.Then(ModalScript::Answer(skin::kResultYes));
    program.dlg.OnCommand(CProject5::kDeleteCommand, 0);
    ASSERT_EQ(program.script.messages.size(), 2u);
    EXPECT_EQ(program.script.messages[1].text, u"Delete 2 pairs and their 4 checks?"_s);
    EXPECT_EQ(Pairs(project), QStringList{u"trail shoes @ trailgear.com x0"_s});
    EXPECT_TRUE(shows(u"1 pair watched"_s));
    CProject5_List saved;
    ASSERT_EQ(saved.LoadFile(list), CProject5_List::FileState::Loaded);
    EXPECT_EQ(saved.m_entries.size(), 1u);

    program.dlg.OnCommand(u"Default_close"_s, 0);
    EXPECT_EQ(program.script.messages.size(), 2u) << "closing asked";
    EXPECT_NE(program.dlg.Result(), 0);
}

// Sites as users type them and ads show them: one domain, matched with its subdomains only.
TEST(BidWatchtowerList, AdsAreMatchedToTheSiteAndItsSubdomains) {
    const struct {
        QString address;
        QString site;
        bool onSite;
    } cases[] = {
        {u"HTTP://www.Example.com:8080/path?q=1"_s, u"example.com"_s, true},
        {u"shop.example.com/offer"_s, u"shop.example.com"_s, true},
        {u"https://user@example.com."_s, u"example.com"_s, true},
        {u"notexample.com"_s, u"notexample.com"_s, false},
        {u"example.com.evil.test/x"_s, u"example.com.evil.test"_s, false},
        // An address in the query is not the site's.
        {u"evil.test/go?to=http://example.com/"_s, u"evil.test"_s, false},
        {u"  "_s, QString(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address.toStdString());
        EXPECT_EQ(SiteOfUrl(c.address), c.site);
        EXPECT_EQ(AddressOnSite(c.address, u"example.com"_s), c.onSite);
    }
    std::vector<CDownloader_Parsers_SE_result> ads(3);
    ads[0].pos = 1;
    ads[0].show_url = u"www.other.test"_s;
    ads[1].pos = 2;
    ads[1].show_url = u"Deals"_s;
    ads[1].full_url = u"http://www.example.com/deal"_s;
    ads[2].pos = 3;
    ads[2].show_url = u"example.com"_s;
    EXPECT_EQ(AdPositionOfSite(ads, u"example.com"_s), 2)
        << "the link counts when the shown text is no address";
    EXPECT_EQ(AdPositionOfSite(ads, u"absent.test"_s), 0);
}

// A pair is the site as written and the keyword in any letter case, accented capitals included. Merging
// keeps what the list held, even pairs it holds twice, and adds each new pair once, in the order given; a
// list read from a file keeps the first of each pair.
TEST(BidWatchtowerList, EachPairIsHeldOnceWhateverItsLetterCase) {
    const auto entry = [](const QString& keyword, const QString& site) {
        CProject5_Entry made;
        made.m_keyword = keyword;
        made.m_site = site;
        return made;
    };
    const auto pairs = [](const CProject5_List& list) {
        QStringList out;
        for (const CProject5_Entry& held : list.m_entries)
            out.append(held.m_keyword + u" @ "_s + held.m_site);
        return out;
    };
    CProject5_List list;
    list.m_entries = {entry(u"Äpfel kaufen"_s, u"shop.example"_s),
                      entry(u"ÄPFEL KAUFEN"_s, u"shop.example"_s)};
    const int added = list.Merge(
        {entry(u"äpfel Kaufen"_s, u"shop.example"_s), entry(u"äpfel kaufen"_s, u"Shop.example"_s),
         entry(u"Birnen"_s, u"shop.example"_s), entry(u"BIRNEN"_s, u"shop.example"_s),
         entry(u"äpfel kaufen!"_s, u"shop.example"_s), entry(u"äpfel kaufen"_s, u"Shop.example"_s)});
    EXPECT_EQ(added, 3);
    EXPECT_EQ(pairs(list), QStringList({u"Äpfel kaufen @ shop.example"_s, u"ÄPFEL KAUFEN @ shop.example"_s,
                                        u"äpfel kaufen @ Shop.example"_s, u"Birnen @ shop.example"_s,
                                        u"äpfel kaufen! @ shop.example"_s}));

    QTemporaryDir dir;
    const QString path = dir.filePath(u"project5.zxml"_s);
    ASSERT_TRUE(list.SaveFile(path));
    CProject5_List read;
    ASSERT_EQ(read.LoadFile(path), CProject5_List::FileState::Loaded);
    EXPECT_EQ(pairs(read), QStringList({u"Äpfel kaufen @ shop.example"_s, u"Birnen @ shop.example"_s,
                                        u"äpfel kaufen! @ shop.example"_s}));
}

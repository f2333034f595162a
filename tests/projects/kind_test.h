#pragma once

#include "app/project.h"
#include "skin/skin_list_box.h"
#include "skin/skin_list_box_filter_dlg.h"
#include "tests/app/app_test_support.h"
#include "tests/projects/fixture_server.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <utility>
#include <vector>

namespace projtest {

// The visible rows of a grid in their shown order, each as its cells' texts as shown (and exported).
std::vector<QStringList> ShownCells(CSkinListBox& grid);

// What the main window shows, one line per visible element in its order: texts of labels, fields and
// buttons, the progress bars' texts, the sliders' positions and the painted rows of every grid.
QStringList PageShown(CMainDlg& dlg);

// Damaged copies of a saved project file of kind, each named by what was done to it: cut at half, at nine
// tenths and before the kind's end tag; its first and its last inner end tag removed; its first two end tags
// in a row swapped (elements closed out of order). The open command refuses every one of them.
std::vector<std::pair<QString, QByteArray>> DamagedSaves(const QByteArray& whole, int kind);

// The ground of every kind's end-to-end test: the main window with the real kinds and its crawler (no
// pacing gaps), a fixture server with every service pointed at it, fresh service states and a picture-code
// prompt that answers with a code. Everything goes back to its default afterwards.
class KindTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    apptest::OpenMainWindow& Window() { return *m_window; }
    // The project of the current tab, or null.
    CProject* Current();

    // Runs the wizard as the user does: "new_project", the kind's button (1 to 8), the keywords typed into
    // its page ("kw1;kw2;"), Start; then, unless firstTick is false, the project tick once, as the main
    // window's timer would, which starts the new project's run. The new tab's project, or null when none was
    // made.
    CProject* NewProject(int kind, const QString& keywords, bool firstTick = true);
    // Runs the main window's project tick (with the events between ticks) until done holds; false when it
    // did not within timeoutMs.
    bool TickUntil(const std::function<bool()>& done, int timeoutMs = 20000);
    // Runs the tick count times.
    void Tick(int count);

    // The current project through the Save command into fileName in the test's folder; true when the file
    // was written and no message came up.
    bool SaveCurrent(const QString& fileName);
    // Opens fileName of the test's folder through the Open command; the new tab's project, or null.
    CProject* OpenFile(const QString& fileName);
    // Closes the current tab as its menu does (answering Yes should it ask).
    void CloseCurrent();
    // Saves the current project into fileName, closes it and opens the file again, expecting the page to
    // show exactly what it showed before; its DamagedSaves are refused with a message and open nothing. The
    // reopened project, or null.
    CProject* ExpectReopensAsShown(const QString& fileName);
    // Exports the current project through the Export command into fileName (".csv" or ".htm"); its bytes.
    QByteArray ExportCurrent(const QString& fileName);
    // Compares bytes with the data file expectedName; on a difference the actual bytes are kept next to the
    // test program (as expectedName) to look at.
    void ExpectSameAsDataFile(const QByteArray& actual, const QString& expectedName);

    // Presses and releases the left button on the cell of column id in visible row of a grid of the main
    // window, as the user clicks it (the window is painted first, so the grid's rows are laid out).
    void ClickCell(CSkinListBox& grid, int row, int columnId);
    // Clicks the filter button of column id in a grid's header; act plays the user in the filter dialog
    // that opens.
    void FilterColumn(CSkinListBox& grid, int columnId, std::function<void(CSkinListBox_FilterDlg&)> act);

    QString PathOf(const QString& fileName) const { return m_dir.filePath(fileName); }

    FixtureServer m_server;
    // The code the scripted picture-code prompt answers; the number of times it was asked.
    QString m_pictureCode = QStringLiteral("x7k2p");
    int m_pictureAsks = 0;

  private:
    QTemporaryDir m_dir;
    std::unique_ptr<apptest::OpenMainWindow> m_window;
};

} // namespace projtest

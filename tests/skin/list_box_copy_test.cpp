#include "core/headless_platform_services.h"
#include "platform/keys.h"
#include "tests/skin/grid_window.h"

#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skintest::GridWindow;
using skintest::Record;
using skintest::RecordReport;

namespace {

// The record report with a message row (no data, so not flagged) for a record without a keyword, and the
// keys it is given recorded.
class MessageRowReport : public RecordReport {
  public:
    void GetItemText(CSkinListBox_Line& line) override {
        if (records[static_cast<std::size_t>(line.item)].keyword.isEmpty()) {
            AddLineMessage(line, u"Please wait..."_s, 0, 0, kVolume, -1, 65535);
            return;
        }
        RecordReport::GetItemText(line);
    }
    bool OnKey(int vk) override {
        keys.push_back(vk);
        return true;
    }
    std::vector<int> keys;
};

std::vector<Record> Mixed() {
    return {{1234, 2.5f, u"red shoes"_s},
            {7, 3.0f, QString()},
            {-1234, -1.0f, u"blue, \"shoes\""_s},
            {900'000, 1'234'567.25f, u"hidden by the filter"_s},
            {-1, 0.5f, u"no volume"_s}};
}

} // namespace

TEST(ListBoxCopy, CopyAllPutsEveryVisibleDataRowOnTheClipboardAsShown) {
    HeadlessPlatformServices services;
    InstallPlatformServices(&services);
    GridWindow<MessageRowReport> w(Mixed());
    CSkinListBox_Column& volume = w.grid.m_columns[RecordReport::kVolume];
    volume.filterOn = true;
    volume.intMin = -5000;
    volume.intMax = 5000;
    w.grid.m_sortColumn = RecordReport::kVolume;
    w.grid.CopyAllToClipboard();
    EXPECT_EQ(services.CopiedTexts(), QStringList{u"-1,234\tNo Data\tblue, \"shoes\"\n"
                                                  u"1,234\t2.5\tred shoes\n"
                                                  u"No Data\t0.5\tno volume\n"_s});

    // Nothing flagged to copy leaves the clipboard alone.
    volume.intMin = 5;
    volume.intMax = 10;
    w.grid.InvalidateContent();
    w.grid.CopyAllToClipboard();
    EXPECT_EQ(services.CopiedTexts().size(), 1);
    InstallPlatformServices(nullptr);
}

TEST(ListBoxCopy, CtrlAReachesTheClickedGridAfterItsWindowWasAwayAndBack) {
    GridWindow<MessageRowReport> w(Mixed());
    QWidget* window = w.dlg.widget();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    w.grid.m_columns[RecordReport::kVolume].filterOn = true; // hides the two large volumes
    w.grid.m_columns[RecordReport::kVolume].intMin = -10;
    w.grid.m_columns[RecordReport::kVolume].intMax = 2000;
    w.Refresh();
    w.Click(40, w.RowY(0));
    ASSERT_EQ(w.grid.GetSingleSelection(), w.grid.Order()[0]);

    // What a click may open (a preview, a menu) or another program takes the keyboard for a while.
    {
        QWidget other;
        other.resize(200, 100);
        other.show();
        other.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    }
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    QTest::keyClick(window->windowHandle(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_TRUE(w.grid.IsAllSelected());
    const std::vector<bool> expected{true, true, false, false, true};
    for (int item = 0; item < 5; ++item)
        EXPECT_EQ(w.grid.IsSelected(item), expected[static_cast<std::size_t>(item)]) << item;
    QTest::keyClick(window->windowHandle(), Qt::Key_Delete);
    EXPECT_EQ(w.grid.keys.back(), plat::kKeyDelete);
}

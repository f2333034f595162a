#include "app/command_line.h"
#include "app/main_window_size.h"
#include "app/tab_strip_layout.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(MainWindowSize, ThreeQuartersOfTheDesktopNeverBelowTheMinimum) {
    const MainWindowSize wide = MainWindowSize::For(plat::Size{1920, 1200});
    EXPECT_EQ(wide.width, 1440);
    EXPECT_EQ(wide.height, 900);
    EXPECT_FALSE(wide.startMaximized);

    const MainWindowSize laptop = MainWindowSize::For(plat::Size{1680, 1050});
    EXPECT_EQ(laptop.width, 1260);
    EXPECT_EQ(laptop.height, 787);
    EXPECT_TRUE(laptop.startMaximized) << "still narrower than 1280";

    const MainWindowSize small = MainWindowSize::For(plat::Size{800, 600});
    EXPECT_EQ(small.width, 1020);
    EXPECT_EQ(small.height, 650);
    EXPECT_TRUE(small.startMaximized);

    const MainWindowSize exact = MainWindowSize::For(plat::Size{1708, 1000});
    EXPECT_EQ(exact.width, 1281);
    EXPECT_FALSE(exact.startMaximized);
}

TEST(TabStrip, TabsThatFitStartAtTheLeftWithNoScrollButtons) {
    const TabStripLayout layout = TabStripLayout::Compute({100, 150, 120}, 2, 1020);
    EXPECT_EQ(layout.firstTab, 0) << "everything fits, so the strip scrolls back";
    EXPECT_FALSE(layout.backShown);
    EXPECT_FALSE(layout.forwardShown);
    ASSERT_EQ(layout.tabs.size(), 3u);
    EXPECT_TRUE(layout.tabs[0].visible);
    EXPECT_EQ(layout.tabs[0].x, 27);
    EXPECT_EQ(layout.tabs[1].x, 127);
    EXPECT_EQ(layout.tabs[2].x, 277);
    EXPECT_EQ(layout.tabs[2].width, 120);
}

TEST(TabStrip, OverflowWidensTheLastTabThatFitsUpToTheForwardButton) {
    // 1000 px window: tabs of 200 start at 27; a tab may end at 946 unless it is the last (973).
    const TabStripLayout layout = TabStripLayout::Compute(std::vector<int>(8, 200), 0, 1000);
    EXPECT_FALSE(layout.backShown);
    EXPECT_TRUE(layout.forwardShown);
    EXPECT_TRUE(layout.tabs[3].visible);
    EXPECT_EQ(layout.tabs[3].x, 627);
    EXPECT_EQ(layout.tabs[3].x + layout.tabs[3].width, 1000 - 54);
    for (size_t i = 4; i < 8; ++i)
        EXPECT_FALSE(layout.tabs[i].visible) << i;
}

TEST(TabStrip, ScrolledTabsMakeRoomForTheBackButton) {
    const TabStripLayout layout = TabStripLayout::Compute(std::vector<int>(8, 200), 2, 1000);
    EXPECT_EQ(layout.firstTab, 2);
    EXPECT_TRUE(layout.backShown);
    EXPECT_FALSE(layout.tabs[0].visible);
    EXPECT_FALSE(layout.tabs[1].visible);
    EXPECT_EQ(layout.tabs[2].x, 54);
    EXPECT_TRUE(layout.forwardShown);
}

TEST(TabStrip, TheLastTabMayUseTheForwardButtonsPlace) {
    // From tab 4: 54 + 4 x 200 = 854 ends the last tab at 854 <= 973; all remaining tabs show.
    const TabStripLayout layout = TabStripLayout::Compute(std::vector<int>(8, 200), 4, 1000);
    EXPECT_FALSE(layout.forwardShown);
    EXPECT_TRUE(layout.tabs[7].visible);
    // A last tab of 119 more would end at 973 exactly and still fit.
    std::vector<int> widths(8, 200);
    widths[7] = 319;
    EXPECT_FALSE(TabStripLayout::Compute(widths, 4, 1000).forwardShown);
    widths[7] = 320;
    EXPECT_TRUE(TabStripLayout::Compute(widths, 4, 1000).forwardShown);
}

TEST(TabStrip, AFirstTabPastTheListIsBroughtBack) {
    const TabStripLayout layout = TabStripLayout::Compute(std::vector<int>(8, 200), 40, 1000);
    EXPECT_EQ(layout.firstTab, 7);
    EXPECT_TRUE(layout.tabs[7].visible);
    EXPECT_TRUE(TabStripLayout::Compute({}, 3, 1000).tabs.empty());
}

TEST(TabStrip, ATabWiderThanTheStripIsNarrowedSoItCanShow) {
    const TabStripLayout layout = TabStripLayout::Compute({5000, 100}, 0, 1000);
    EXPECT_TRUE(layout.tabs[0].visible);
    EXPECT_EQ(layout.tabs[0].x + layout.tabs[0].width, 1000 - 54);
    EXPECT_TRUE(layout.forwardShown);
    // Scrolled to it, it fits between the back and the forward button.
    const TabStripLayout scrolled = TabStripLayout::Compute({100, 5000, 100}, 1, 1000);
    EXPECT_TRUE(scrolled.tabs[1].visible);
    EXPECT_EQ(scrolled.tabs[1].x, 54);
    EXPECT_EQ(scrolled.tabs[1].width, 1000 - 27 - 81);
    EXPECT_TRUE(scrolled.backShown);
    EXPECT_TRUE(scrolled.forwardShown);
}

TEST(CommandLine, ArgumentsJoinWithBlanksAndQuotesWhereNeeded) {
    EXPECT_EQ(JoinCommandLine({}), QString());
    EXPECT_EQ(JoinCommandLine({u"--GoProject4"_s}), u"--GoProject4"_s);
    EXPECT_EQ(JoinCommandLine({u"--GoProject5"_s, u"my file"_s, QString()}),
              u"--GoProject5 \"my file\" \"\""_s);
}

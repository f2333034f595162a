#include "app/command_line.h"
#include "app/main_window_size.h"
#include "app/tab_strip_layout.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(MainWindowSize, ThreeQuartersOfTheDesktopNeverBelowTheMinimum) {
    struct Case {
        plat::Size desktop;
        int width, height;
        bool maximized;
        const char* note;
    };
    const Case cases[] = {{{1920, 1200}, 1440, 900, false, "wide"},
                          {{1680, 1050}, 1260, 787, true, "still narrower than 1280"},
                          {{800, 600}, 1020, 650, true, "the minimum"},
                          {{1708, 1000}, 1281, 750, false, "just wide enough"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        const MainWindowSize size = MainWindowSize::For(c.desktop);
        EXPECT_EQ(size.width, c.width);
        EXPECT_EQ(size.height, c.height);
        EXPECT_EQ(size.startMaximized, c.maximized);
    }
}

// On a 1000-px window the strip starts at 27, or at 54 behind the back button; a tab may end at 946, before
// the forward button, unless it is the last (973). The tab before the first that does not fit is widened up
// to the forward button, and a tab wider than the strip is narrowed to fit between both buttons.
TEST(TabStrip, TabsShowFromTheFirstWhileTheyFit) {
    struct Case {
        std::vector<int> widths;
        int firstTab;
        int shownFirst, shownLast; // the tabs shown
        int left, right;           // where the first shown tab starts and the last shown one ends
        bool back, forward;
        const char* note;
    };
    const std::vector<int> eight(8, 200);
    std::vector<int> lastFits = eight, lastTooWide = eight;
    lastFits[7] = 319;
    lastTooWide[7] = 320;
    const Case cases[] = {
        {{100, 150, 120}, 2, 0, 2, 27, 397, false, false, "everything fits, so the strip scrolls back"},
        {eight, 0, 0, 3, 27, 946, false, true, "overflow widens the last tab that fits"},
        {eight, 2, 2, 5, 54, 946, true, true, "scrolled"},
        {eight, 4, 4, 7, 54, 854, true, false, "the rest fits"},
        {lastFits, 4, 4, 7, 54, 973, true, false, "the last tab may use the forward button's place"},
        {lastTooWide, 4, 4, 6, 54, 946, true, true, "one pixel too wide"},
        {eight, 40, 7, 7, 54, 254, true, false, "a first tab past the list is brought back"},
        {{5000, 100}, 0, 0, 0, 27, 946, false, true, "a tab wider than the strip is narrowed"},
        {{100, 5000, 100}, 1, 1, 1, 54, 946, true, true, "narrowed between both buttons"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.note);
        const TabStripLayout layout = TabStripLayout::Compute(c.widths, c.firstTab, 1000);
        EXPECT_EQ(layout.firstTab, c.shownFirst);
        EXPECT_EQ(layout.backShown, c.back);
        EXPECT_EQ(layout.forwardShown, c.forward);
        ASSERT_EQ(layout.tabs.size(), c.widths.size());
        for (int i = 0; i < int(c.widths.size()); ++i)
            EXPECT_EQ(layout.tabs[size_t(i)].visible, i >= c.shownFirst && i <= c.shownLast) << i;
        EXPECT_EQ(layout.tabs[size_t(c.shownFirst)].x, c.left);
        const TabStripLayout::Tab& last = layout.tabs[size_t(c.shownLast)];
        EXPECT_EQ(last.x + last.width, c.right);
    }
    EXPECT_TRUE(TabStripLayout::Compute({}, 3, 1000).tabs.empty());
}

TEST(CommandLine, ArgumentsJoinWithBlanksAndQuotesWhereNeeded) {
    EXPECT_EQ(JoinCommandLine({}), QString());
    EXPECT_EQ(JoinCommandLine({u"--GoProject5"_s, u"my file"_s, QString()}),
              u"--GoProject5 \"my file\" \"\""_s);
}

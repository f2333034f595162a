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

// The strip starts at 27; the back and forward buttons are 27 wide, so on a 1000-px window a tab may end
// at 946 unless it is the last (973).
TEST(TabStrip, TabsThatFitStartAtTheLeftWithNoScrollButtons) {
    const TabStripLayout layout = TabStripLayout::Compute({100, 150, 120}, 2, 1020);
    EXPECT_EQ(layout.firstTab, 0) << "everything fits, so the strip scrolls back";
    EXPECT_FALSE(layout.backShown);
    EXPECT_FALSE(layout.forwardShown);
    ASSERT_EQ(layout.tabs.size(), 3u);
    EXPECT_TRUE(layout.tabs[0].visible);
    EXPECT_EQ(layout.tabs[0].x, 27);
    EXPECT_EQ(layout.tabs[2].x, 277);
    EXPECT_EQ(layout.tabs[2].width, 120);
}

TEST(TabStrip, OverflowWidensTheLastTabThatFitsUpToTheForwardButton) {
    const TabStripLayout layout = TabStripLayout::Compute(std::vector<int>(8, 200), 0, 1000);
    EXPECT_FALSE(layout.backShown);
    EXPECT_TRUE(layout.forwardShown);
    EXPECT_EQ(layout.tabs[3].x, 627);
    EXPECT_EQ(layout.tabs[3].x + layout.tabs[3].width, 1000 - 54);
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(layout.tabs[i].visible, i < 4) << i;
    // Scrolled: the back button takes the strip's start.
    const TabStripLayout scrolled = TabStripLayout::Compute(std::vector<int>(8, 200), 2, 1000);
    EXPECT_TRUE(scrolled.backShown);
    EXPECT_FALSE(scrolled.tabs[1].visible);
    EXPECT_EQ(scrolled.tabs[2].x, 54);
    EXPECT_TRUE(scrolled.forwardShown);
}

TEST(TabStrip, TheLastTabMayUseTheForwardButtonsPlace) {
    // From tab 4 the tabs start at 54; a last tab of 319 ends at 973 exactly and still fits.
    std::vector<int> widths(8, 200);
    EXPECT_FALSE(TabStripLayout::Compute(widths, 4, 1000).forwardShown);
    widths[7] = 319;
    const TabStripLayout layout = TabStripLayout::Compute(widths, 4, 1000);
    EXPECT_FALSE(layout.forwardShown);
    EXPECT_TRUE(layout.tabs[7].visible);
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
    EXPECT_EQ(JoinCommandLine({u"--GoProject5"_s, u"my file"_s, QString()}),
              u"--GoProject5 \"my file\" \"\""_s);
}

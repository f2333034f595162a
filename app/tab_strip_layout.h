#pragma once

#include <vector>

// Where the main window's project tabs and their two scroll buttons stand. The strip starts at x 27; with
// tabs scrolled out at the left, the back button takes 27 px first. Tabs follow while they fit, leaving room
// for the forward button unless the last tab is the one placed; the tab before the first that does not fit
// is widened up to the forward button.
struct TabStripLayout {
    struct Tab {
        bool visible = false;
        int x = 0;
        int width = 0;
    };

    int firstTab = 0;
    bool backShown = false;
    bool forwardShown = false;
    std::vector<Tab> tabs;

    static constexpr int kTop = 100;
    static constexpr int kHeight = 27;
    static constexpr int kLeft = 27;
    static constexpr int kScrollButton = 27;

    // widths: each tab's natural width, in tab order; firstTab: the first tab shown.
    static TabStripLayout Compute(const std::vector<int>& widths, int firstTab, int windowWidth);
    // The first tab to show so that the tab current is shown: firstTab when it already is, else the
    // nearest first tab that brings it in (no tab -1: firstTab).
    static int FirstTabShowing(const std::vector<int>& widths, int firstTab, int current, int windowWidth);
};

#include "app/tab_strip_layout.h"

#include <algorithm>
#include <numeric>

TabStripLayout TabStripLayout::Compute(const std::vector<int>& widths, int firstTab, int windowWidth) {
    TabStripLayout layout;
    const int count = int(widths.size());
    layout.tabs.resize(widths.size());
    // However long its caption, a tab fits between both scroll buttons, so every tab can be reached.
    const int widest = std::max(1, windowWidth - kLeft - 3 * kScrollButton);
    for (int i = 0; i < count; ++i)
        layout.tabs[size_t(i)].width = std::min(widths[size_t(i)], widest);

    // A first tab past the list would leave the strip empty with no way back.
    layout.firstTab = std::max(0, std::min(firstTab, count - 1));
    const long long total = std::accumulate(layout.tabs.begin(), layout.tabs.end(), 0LL,
                                            [](long long sum, const Tab& tab) { return sum + tab.width; });
    if (total < windowWidth - 2 * kScrollButton)
        layout.firstTab = 0;

    int x = kLeft;
    if (layout.firstTab > 0) {
        layout.backShown = true;
        x += kScrollButton;
    }
    bool overflow = false;
    for (int i = layout.firstTab; i < count; ++i) {
        Tab& tab = layout.tabs[size_t(i)];
        const int room = windowWidth - kScrollButton - (i == count - 1 ? 0 : kScrollButton);
        if (!overflow && x + tab.width <= room) {
            tab.visible = true;
            tab.x = x;
            x += tab.width;
            continue;
        }
        if (!overflow && x < windowWidth - kScrollButton) {
            if (i > layout.firstTab) {
                Tab& before = layout.tabs[size_t(i - 1)];
                before.width = windowWidth - 2 * kScrollButton - before.x;
            }
            layout.forwardShown = true;
        }
        overflow = true;
    }
    return layout;
}

int TabStripLayout::FirstTabShowing(const std::vector<int>& widths, int firstTab, int current,
                                    int windowWidth) {
    if (current < 0 || current >= int(widths.size()))
        return firstTab;
    if (current < firstTab)
        return current;
    int first = firstTab;
    // Scrolling forward one tab at a time, as the arrow does, until the current tab fits; it fits at the
    // latest when it is the first.
    while (first < current && !Compute(widths, first, windowWidth).tabs[size_t(current)].visible)
        ++first;
    return first;
}

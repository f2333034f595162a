#include "app/main_window_size.h"

#include <algorithm>

MainWindowSize MainWindowSize::For(plat::Size desktop) {
    MainWindowSize size;
    size.width = std::max(kMinWidth, desktop.cx * 3 / 4);
    size.height = std::max(kMinHeight, desktop.cy * 3 / 4);
    size.startMaximized = size.width < kMaximizeBelowWidth;
    return size;
}

#pragma once

#include "platform/geometry.h"

// The main window's starting size: three quarters of the desktop, never below its minimum, maximised at
// once when that is still narrower than 1280 px.
struct MainWindowSize {
    int width = 0;
    int height = 0;
    bool startMaximized = false;

    static constexpr int kMinWidth = 1020;
    static constexpr int kMinHeight = 650;
    static constexpr int kMaximizeBelowWidth = 1280;

    static MainWindowSize For(plat::Size desktop);
};

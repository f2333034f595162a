#pragma once

#include <QString>

// Where the crawler finds the program and keeps its files. The start-up takes the defaults from the
// environment; tests hand in temporary folders so they never touch the user's home.
struct CrawlerFolders {
    // The install folder: the folder of the executable.
    QString appDir;
    // The data folder: settings and work files. Made private to the user when the crawler starts.
    QString dataDir;
    // The start-with-login entry; empty when there is no place for one.
    QString autostartFile;
    // The program the start-with-login entry starts.
    QString executable;

    // The executable's folder; $XDG_DATA_HOME/Tarnwick 2.0 (default ~/.local/share/Tarnwick 2.0);
    // $XDG_CONFIG_HOME/autostart/tarnwick.desktop (default ~/.config).
    static CrawlerFolders FromEnvironment();
};

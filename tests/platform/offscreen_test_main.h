#pragma once

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>

namespace twtest {

// Runs a test program's tests in a QApplication on offscreen screens of known size (screensJson, in the
// offscreen platform's configuration format) unless another platform was asked for. HOME and the XDG folders
// point into a temporary folder, so nothing here touches the user's files.
inline int RunOnOffscreenScreens(
    int argc, char** argv, const char* screensJson,
    const std::function<int()>& run = [] { return RUN_ALL_TESTS(); }) {
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "no temporary folder for the test home\n");
        return 1;
    }
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath(QStringLiteral("cache"))));
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    QFile config(home.filePath(QStringLiteral("screens.json")));
    if ((platform.isEmpty() || platform == "offscreen") && config.open(QIODevice::WriteOnly)) {
        config.write(screensJson);
        config.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return run();
}

} // namespace twtest

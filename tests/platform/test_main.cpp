#include "tests/platform/test_screens.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Two screens side by side, so placement and maximising can be checked against known geometry.
int main(int argc, char** argv) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    QString configPath;
    if (platform.isEmpty() || platform == "offscreen") {
        configPath =
            QDir::tempPath() + u"/tw_platform_screens_%1.json"_s.arg(QCoreApplication::applicationPid());
        QFile config(configPath);
        if (config.open(QIODevice::WriteOnly)) {
            config.write(twtest::kScreensJson);
            config.close();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + configPath.toUtf8());
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    const int result = RUN_ALL_TESTS();
    if (!configPath.isEmpty())
        QFile::remove(configPath);
    return result;
}

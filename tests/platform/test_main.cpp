#include <QApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Two screens side by side, so placement and maximising can be checked against known geometry: a primary
// 1280 x 800 at the origin and a second 1024 x 768 screen to its right.
constexpr char kScreensJson[] = R"({
  "screens": [
    { "name": "primary", "x": 0, "y": 0, "width": 1280, "height": 800, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 },
    { "name": "second", "x": 1280, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 }
  ]
})";

int main(int argc, char** argv) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    QString configPath;
    if (platform.isEmpty() || platform == "offscreen") {
        configPath =
            QDir::tempPath() + u"/tw_platform_screens_%1.json"_s.arg(QCoreApplication::applicationPid());
        QFile config(configPath);
        if (config.open(QIODevice::WriteOnly)) {
            config.write(kScreensJson);
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

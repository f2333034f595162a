#include "platform/device_context.h"
#include "resources/skin_resources.h"
#include "skin/skin_atlas.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const char kScreensJson[] = R"({
  "screens": [
    { "name": "primary", "x": 0, "y": 0, "width": 1280, "height": 800, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 },
    { "name": "second", "x": 1280, "y": 0, "width": 1920, "height": 1200, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 }
  ]
})";

} // namespace

// The offscreen desktop of every test: the primary 1280 x 800 screen and a 1920 x 1200 screen to its right.
// The home and XDG folders point into a temporary folder, so nothing here touches the user's files.
int main(int argc, char** argv) {
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "no temporary folder for the test home\n");
        return 1;
    }
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(u"data"_s)));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(u"config"_s)));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath(u"cache"_s)));

    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (platform.isEmpty() || platform == "offscreen") {
        const QString configPath = home.filePath(u"screens.json"_s);
        QFile config(configPath);
        if (config.open(QIODevice::WriteOnly)) {
            config.write(kScreensJson);
            config.close();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(configPath));
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    plat::DeviceContext atlas;
    if (!atlas.loadImage(skin_resources::AtlasPath())) {
        std::fprintf(stderr, "the skin atlas could not be loaded\n");
        return 1;
    }
    skin::SetAtlas(&atlas);
    const int result = RUN_ALL_TESTS();
    skin::SetAtlas(nullptr);
    return result;
}

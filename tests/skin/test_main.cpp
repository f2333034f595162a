#include "platform/device_context.h"
#include "resources/skin_resources.h"
#include "skin/skin_atlas.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// One offscreen screen of known size, so centring and maximising have fixed answers.
constexpr char kScreenJson[] = R"({
  "screens": [
    { "name": "main", "x": 0, "y": 0, "width": 1280, "height": 800, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 }
  ]
})";

} // namespace

int main(int argc, char** argv) {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    QString configPath;
    if (platform.isEmpty() || platform == "offscreen") {
        configPath = QDir::tempPath() + u"/tw_skin_screens_%1.json"_s.arg(QCoreApplication::applicationPid());
        QFile config(configPath);
        if (config.open(QIODevice::WriteOnly)) {
            config.write(kScreenJson);
            config.close();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + configPath.toUtf8());
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    plat::DeviceContext atlas;
    if (!atlas.loadImage(skin_resources::AtlasPath())) {
        fprintf(stderr, "the skin atlas could not be loaded\n");
        return 1;
    }
    skin::SetAtlas(&atlas);
    const int result = RUN_ALL_TESTS();
    skin::SetAtlas(nullptr);
    if (!configPath.isEmpty())
        QFile::remove(configPath);
    return result;
}

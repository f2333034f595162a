// Draws the skin art and writes it as PNG into the given folder (the source tree's resources/):
//   tw_skin_art <folder>
// The build target regenerate_skin_art runs it; the PNGs are committed, so a normal build never does.

#include "resources/skin_resources.h"
#include "tools/skin_art/app_icon_painter.h"
#include "tools/skin_art/atlas_painter.h"
#include "tools/skin_art/png_file.h"
#include "tools/skin_art/toolbar_painter.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>
#include <cstdio>

namespace {

QString FromView(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

bool Write(const QImage& image, const QDir& folder, const QString& file) {
    const QString path = folder.filePath(file);
    if (!skin_art::WritePng(image, path)) {
        QTextStream(stderr) << "tw_skin_art: cannot write " << path << '\n';
        return false;
    }
    QTextStream(stdout) << "wrote " << path << '\n';
    return true;
}

} // namespace

int main(int argc, char** argv) {
    // Drawing text needs a GUI application, never a screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: tw_skin_art <output folder>\n";
        return 2;
    }
    const QDir folder(args.at(1));
    if (!folder.exists()) {
        QTextStream(stderr) << "tw_skin_art: no folder " << args.at(1) << '\n';
        return 2;
    }

    bool ok = Write(skin_art::PaintAtlas(), folder, FromView(skin_resources::kAtlasFile));
    ok = Write(skin_art::PaintToolbar(), folder, FromView(skin_resources::kToolbarFile)) && ok;
    for (int size : skin_resources::kIconSizes)
        ok = Write(skin_art::PaintAppIcon(size), folder, skin_resources::IconFileName(size)) && ok;
    return ok ? 0 : 1;
}

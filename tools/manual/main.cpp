// Renders docs/manual.md into the PDF manual that is built and installed beside the program.
// Usage: tw_manual <manual.md> <manual.pdf>

#include "tools/manual/manual_pdf.h"

#include <QFile>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv) {
    // Fonts need a platform, though nothing is shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: tw_manual <manual.md> <manual.pdf>\n");
        return 2;
    }
    QFile source(args[1]);
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "tw_manual: cannot read %s: %s\n", qPrintable(args[1]),
                     qPrintable(source.errorString()));
        return 1;
    }
    QString error;
    if (!WriteManualPdf(QString::fromUtf8(source.readAll()), args[2], error)) {
        std::fprintf(stderr, "tw_manual: cannot write %s: %s\n", qPrintable(args[2]), qPrintable(error));
        return 1;
    }
    return 0;
}

#include "app/command_line.h"
#include "app/state_report.h"
#include "app/tarnwick_app.h"
#include "platform/application.h"
#include "platform/message_box.h"
#include "platform/qt_platform_services.h"
#include "projects/kind1/project1_google_sugg_dlg.h"
#include "projects/project_factory.h"

#include <QStringList>
#include <chrono>
#include <cstdio>
#include <string>

using namespace Qt::StringLiterals;

int main(int argc, char** argv) {
    plat::Application application(argc, argv);
    plat::InstallQtPlatformServices();
    InstallGoogleSuggPrompt();

    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));

    CTarnwickAppOptions options;
    options.folders = CrawlerFolders::FromEnvironment();
    options.makeProject = NewProjectOfKind;
    options.reportFailure = [](const QString& text) { plat::ShowPlainMessageBox(u"Tarnwick 2.0"_s, text); };
    // Only for the smoke test; kept out of the command line the program stores.
    if (arguments.removeAll(StateReport::kSwitch) > 0) {
        options.reportState = [](const QString& line) {
            std::fputs(qPrintable(line + u'\n'), stdout);
            std::fflush(stdout);
        };
    }
    // The time on the monotonic clock (microseconds), for a launcher that noted when it started the program.
    if (arguments.removeAll(CTarnwickApp::kReportExposeSwitch) > 0) {
        options.reportExposed = [] {
            const auto now = std::chrono::steady_clock::now().time_since_epoch();
            const auto us = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
            std::fputs(("exposed " + std::to_string(us) + '\n').c_str(), stdout);
            std::fflush(stdout);
        };
    }
    options.commandLine = JoinCommandLine(arguments);
    CTarnwickApp app(std::move(options));
    return app.Run() ? 0 : 1;
}

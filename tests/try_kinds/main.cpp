// The real program against loopback copies of every outside service, to click through the eight kinds with
// data on a real X server: the fixture pages and sites of the end-to-end tests answer the keywords printed at
// start (and kept in the wizard's keyword list). Settings, projects and the watch list live in a temporary
// folder that goes with the program. Started by scripts/try-kinds.

#include "app/main_dlg.h"
#include "app/tarnwick_app.h"
#include "net/crawler.h"
#include "platform/application.h"
#include "platform/message_box.h"
#include "platform/qt_platform_services.h"
#include "projects/kind1/project1_google_sugg_dlg.h"
#include "projects/project_factory.h"
#include "tests/try_kinds/kind_services.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void PrintKeywords() {
    std::puts("try-kinds: every outside service answers on loopback. Keywords with data:");
    for (const trykinds::KindKeywords& kind : trykinds::KindServices::Keywords())
        std::printf("  kind %d: %s\n", kind.kind, qPrintable(kind.keywords));
    std::printf("  kind 5: Add pairs... with keywords %s and sites %s\n",
                qPrintable(trykinds::KindServices::WatchKeywords().join(u", "_s)),
                qPrintable(trykinds::KindServices::WatchSites().join(u", "_s)));
    std::puts("  any other keyword: the engines' pages of kind 5; the keyword tool takes any picture code.");
    std::fflush(stdout);
}

// Once the crawler has read its settings: no pauses between requests, the signed-in services' accounts, and
// the keywords with data in the wizard's list.
void PrepareCrawler() {
    CProjectCrawler& crawler = *g_pCrawler;
    crawler.allowCourtesy = false;
    crawler.allowArticleCourtesy = false;
    crawler.YahooMarket_user = u"demo"_s;
    crawler.MSNAdCenter_user = u"demo"_s;
    for (const trykinds::KindKeywords& kind : trykinds::KindServices::Keywords())
        crawler.AddKeywordToHistory(kind.keywords, false);
}

} // namespace

int main(int argc, char** argv) {
    plat::Application application(argc, argv);
    plat::InstallQtPlatformServices();
    InstallGoogleSuggPrompt();

    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "try-kinds: no temporary folder: %s\n", qPrintable(home.errorString()));
        return 1;
    }
    trykinds::KindServices services;
    services.PointEndpoints();
    PrintKeywords();

    CTarnwickAppOptions options;
    // The program's folder is this one's, beside the built program, so Help and F1 find the manual.
    options.folders = {QCoreApplication::applicationDirPath(), home.filePath(u"data/Tarnwick 2.0"_s),
                       home.filePath(u"config/autostart/tarnwick.desktop"_s),
                       QCoreApplication::applicationFilePath()};
    options.makeProject = NewProjectOfKind;
    options.reportFailure = [](const QString& text) { plat::ShowPlainMessageBox(u"Tarnwick 2.0"_s, text); };
    options.runMainWindow = [](CMainDlg& mainDlg) {
        PrepareCrawler();
        mainDlg.DoModal();
    };
    CTarnwickApp app(std::move(options));
    return app.Run() ? 0 : 1;
}

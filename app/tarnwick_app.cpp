#include "app/tarnwick_app.h"

#include "app/main_dlg.h"
#include "app/state_report.h"
#include "net/crawler.h"
#include "net/sigpipe.h"
#include "net/tls_socket_context.h"
#include "platform/application.h"
#include "platform/device_context.h"
#include "platform/first_expose.h"
#include "resources/skin_resources.h"
#include "skin/host_window.h"
#include "skin/skin_atlas.h"
#include "skin/wnd_shadow.h"

#include <array>
#include <memory>
#include <openssl/rand.h>

CTarnwickApp::CTarnwickApp(CTarnwickAppOptions options) : m_options(std::move(options)) {
    if (!m_options.createSslContext) {
        m_options.createSslContext = [](CSSLContext& context) {
            QString ignored;
            return context.CreateClient(ignored);
        };
    }
    if (!m_options.runMainWindow)
        m_options.runMainWindow = [](CMainDlg& mainDlg) { mainDlg.DoModal(); };
}

namespace {

// Mixes the user's random seed file into OpenSSL's generator. The text of the failure, or none.
QString LoadRandomSeedFile() {
    std::array<char, 1024> name{};
    // Null only when neither RANDFILE nor HOME says where the file is.
    if (!RAND_file_name(name.data(), name.size()))
        return CTarnwickApp::kRandFileNameFailed;
    // A missing or short file is normal: the system's random source seeds the generator anyway.
    RAND_load_file(name.data(), -1);
    if (RAND_status() == 0)
        return CTarnwickApp::kRandFileFailed;
    return QString();
}

} // namespace

// OpenSSL 3 initialises itself, locks its own state and frees everything at exit: there is no lock array or
// clean-up call to make.
bool CTarnwickApp::Run() {
    g_pCrawler = nullptr;
    auto crawler = std::make_unique<CProjectCrawler>(m_options.folders);
    g_pCrawler = crawler.get();
    CWndShadow::Initialize();
    QStringList icons;
    for (const int size : skin_resources::kIconSizes)
        icons.append(skin_resources::IconPath(size));
    plat::Application::setWindowIcon(icons);
    IgnoreBrokenPipeSignal();

    const auto fail = [&](const QString& text) {
        g_pCrawler = nullptr;
        crawler.reset();
        if (m_options.reportFailure)
            m_options.reportFailure(text);
        return false;
    };
    if (const QString seedFailure = LoadRandomSeedFile(); !seedFailure.isEmpty())
        return fail(seedFailure);
    CSSLContext sslContext;
    if (!m_options.createSslContext(sslContext) || !sslContext.GetHandle())
        return fail(kSslContextFailed);
    crawler->m_sslContext = &sslContext;

    plat::DeviceContext atlas;
    atlas.loadImage(skin_resources::AtlasPath());
    skin::SetAtlas(&atlas);

    auto mainDlg = std::make_unique<CMainDlg>();
    crawler->m_mainWnd = mainDlg.get();
    mainDlg->m_pAtlasDC = &atlas;
    mainDlg->m_makeProject = m_options.makeProject;
    crawler->m_cmdLine = m_options.commandLine;
    crawler->Init();

    std::unique_ptr<StateReport> report;
    if (m_options.reportState)
        report = std::make_unique<StateReport>(*mainDlg, m_options.reportState);
    std::unique_ptr<plat::FirstExposeWatch> exposeWatch;
    if (m_options.reportExposed)
        exposeWatch =
            std::make_unique<plat::FirstExposeWatch>(skin::HostWindow(*mainDlg), m_options.reportExposed);
    m_options.runMainWindow(*mainDlg);
    exposeWatch.reset();
    report.reset();

    // Projects go with the window; then every download stops and every worker is joined before the crawler
    // and the TLS context they use go away. The crawler lets go of the window first, so nothing taken down
    // with it finds a window half destroyed.
    crawler->m_mainWnd = nullptr;
    mainDlg.reset();
    crawler->StopAll();
    crawler->Shutdown();
    crawler->m_sslContext = nullptr;
    crawler.reset();
    g_pCrawler = nullptr;
    sslContext.Free();
    skin::SetAtlas(nullptr);
    return true;
}

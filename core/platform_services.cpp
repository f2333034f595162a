#include "core/platform_services.h"

#include "core/headless_platform_services.h"

#include <atomic>

using namespace Qt::StringLiterals;

namespace {

std::atomic<PlatformServices*> g_installed{nullptr};

} // namespace

void InstallPlatformServices(PlatformServices* services) {
    g_installed.store(services);
}

PlatformServices& InstalledPlatformServices() {
    PlatformServices* services = g_installed.load();
    return services ? *services : DefaultPlatformServices();
}

void CopyTextToClipboard(const QString& text) {
    InstalledPlatformServices().CopyText(text);
}

void OpenUrlInBrowser(const QString& url) {
    const bool webOrMail = url.startsWith(u"http:"_s, Qt::CaseInsensitive) ||
                           url.startsWith(u"https:"_s, Qt::CaseInsensitive) ||
                           url.startsWith(u"mailto:"_s, Qt::CaseInsensitive);
    InstalledPlatformServices().OpenUrl(webOrMail ? url : u"http://"_s + url);
}

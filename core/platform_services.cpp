#include "core/platform_services.h"

#include "core/headless_platform_services.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

std::atomic<PlatformServices*> g_installed{nullptr};

// How long a thread of its own waits before it opens the page.
constexpr std::chrono::milliseconds kBrowserLaunchDelay{100};

void OpenUrlNow(const QString& url) {
    const bool webOrMail = url.startsWith(u"http:"_s, Qt::CaseInsensitive) ||
                           url.startsWith(u"https:"_s, Qt::CaseInsensitive) ||
                           url.startsWith(u"mailto:"_s, Qt::CaseInsensitive);
    InstalledPlatformServices().OpenUrl(webOrMail ? url : u"http://"_s + url);
}

// The short-lived threads of OpenUrlInBrowser. None is left running or detached: a finished one is joined
// by the next launch, the others by Wait, which also runs at exit.
class BrowserLaunches {
  public:
    ~BrowserLaunches() { Wait(); }

    void Start(QString url) {
        std::lock_guard guard(m_lock);
        std::erase_if(m_launches, [](const std::unique_ptr<Launch>& launch) {
            if (!launch->done.load())
                return false;
            launch->thread.join();
            return true;
        });
        auto launch = std::make_unique<Launch>();
        Launch& running = *launch;
        try {
            running.thread = std::thread([&running, url = std::move(url)] {
                std::this_thread::sleep_for(kBrowserLaunchDelay);
                OpenUrlNow(url);
                running.done.store(true);
            });
        } catch (const std::system_error&) {
            // No thread to be had: the page still opens, on the caller's thread.
            OpenUrlNow(url);
            return;
        }
        m_launches.push_back(std::move(launch));
    }

    void Wait() {
        std::vector<std::unique_ptr<Launch>> launches;
        {
            std::lock_guard guard(m_lock);
            launches.swap(m_launches);
        }
        for (const std::unique_ptr<Launch>& launch : launches)
            launch->thread.join();
    }

  private:
    struct Launch {
        std::thread thread;
        std::atomic<bool> done{false};
    };

    std::mutex m_lock;
    std::vector<std::unique_ptr<Launch>> m_launches;
};

BrowserLaunches& Launches() {
    static BrowserLaunches launches;
    return launches;
}

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

void ShowUserNotice(const QString& text) {
    InstalledPlatformServices().ShowNotice(text);
}

void OpenUrlInBrowser(const QString& url, bool onOwnThread) {
    if (onOwnThread)
        Launches().Start(url);
    else
        OpenUrlNow(url);
}

void WaitForBrowserLaunches() {
    Launches().Wait();
}

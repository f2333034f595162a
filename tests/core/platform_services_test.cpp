#include "core/headless_platform_services.h"
#include "core/platform_services.h"
#include "tests/core/qstring_printer.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

using Clock = std::chrono::steady_clock;

// Also notes which thread opened each page, and when.
class OpenRecorder : public HeadlessPlatformServices {
  public:
    void OpenUrl(const QString& url) override {
        {
            const std::lock_guard guard(m_openLock);
            m_openers.push_back({std::this_thread::get_id(), Clock::now()});
        }
        HeadlessPlatformServices::OpenUrl(url);
    }

    struct Opener {
        std::thread::id thread;
        Clock::time_point at;
    };
    std::vector<Opener> Openers() const {
        const std::lock_guard guard(m_openLock);
        return m_openers;
    }

  private:
    mutable std::mutex m_openLock;
    std::vector<Opener> m_openers;
};

class PlatformServicesTest : public testing::Test {
  protected:
    void SetUp() override { InstallPlatformServices(&m_services); }
    void TearDown() override {
        WaitForBrowserLaunches();
        InstallPlatformServices(nullptr);
    }

    OpenRecorder m_services;
};

// Web and mail addresses open as given, shell characters included; anything else gets "http://" in front.
TEST_F(PlatformServicesTest, OnlyWebAndMailAddressesOpenUnprefixed) {
    const std::pair<QString, QString> rows[] = {
        {u"http://h/p"_s, u"http://h/p"_s},
        {u"mailto:a@b.example"_s, u"mailto:a@b.example"_s},
        {u"Http:x"_s, u"Http:x"_s},
        {u"http://h/a b\"c';rm -rf ~ $(x) `y` %1"_s, u"http://h/a b\"c';rm -rf ~ $(x) `y` %1"_s},
        {u"www.example.com/page"_s, u"http://www.example.com/page"_s},
        {u"ftp://files.example/"_s, u"http://ftp://files.example/"_s},
        {u"file:///etc/passwd"_s, u"http://file:///etc/passwd"_s},
        {u"--help"_s, u"http://--help"_s},
        {u"httpx"_s, u"http://httpx"_s},
    };
    QStringList expected;
    for (const auto& [url, opened] : rows) {
        OpenUrlInBrowser(url);
        expected.append(opened);
    }
    EXPECT_EQ(m_services.OpenedUrls(), expected);
}

// On a thread of its own the page opens 100 ms later from the URL as it was given; without, at once on the
// caller's thread.
TEST_F(PlatformServicesTest, OnItsOwnThreadThePageOpensLaterFromACopy) {
    QString url = u"example.test/first"_s;
    const Clock::time_point asked = Clock::now();
    OpenUrlInBrowser(url, true);
    url = u"changed after the call"_s;
    OpenUrlInBrowser(u"https://example.test/second"_s, true);
    WaitForBrowserLaunches();
    QStringList opened = m_services.OpenedUrls();
    opened.sort();
    EXPECT_EQ(opened, (QStringList{u"http://example.test/first"_s, u"https://example.test/second"_s}));
    for (const OpenRecorder::Opener& opener : m_services.Openers()) {
        EXPECT_NE(opener.thread, std::this_thread::get_id());
        EXPECT_GE(opener.at - asked, std::chrono::milliseconds(100));
    }

    m_services.Clear();
    OpenUrlInBrowser(u"example.test/now"_s, false);
    EXPECT_EQ(m_services.OpenedUrls(), QStringList{u"http://example.test/now"_s});
    EXPECT_EQ(m_services.Openers().back().thread, std::this_thread::get_id());
}

} // namespace

#include "core/headless_platform_services.h"
#include "core/platform_services.h"
#include "tests/support/opener_threads.h"
#include "tests/support/qstring_printer.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

class PlatformServicesTest : public testing::Test {
  protected:
    void SetUp() override { InstallPlatformServices(&m_services); }
    void TearDown() override {
        WaitForBrowserLaunches();
        InstallPlatformServices(nullptr);
    }

    twtest::OpenerThreads m_services;
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
    const auto asked = std::chrono::steady_clock::now();
    OpenUrlInBrowser(url, true);
    url = u"changed after the call"_s;
    OpenUrlInBrowser(u"https://example.test/second"_s, true);
    WaitForBrowserLaunches();
    EXPECT_GE(std::chrono::steady_clock::now() - asked, std::chrono::milliseconds(100));
    QStringList opened = m_services.OpenedUrls();
    opened.sort();
    EXPECT_EQ(opened, (QStringList{u"http://example.test/first"_s, u"https://example.test/second"_s}));
    OpenUrlInBrowser(u"example.test/now"_s, false);
    EXPECT_EQ(m_services.OpenedUrls().back(), u"http://example.test/now"_s);
    ASSERT_EQ(m_services.openers.size(), 3u);
    EXPECT_NE(m_services.openers[0], std::this_thread::get_id());
    EXPECT_NE(m_services.openers[1], std::this_thread::get_id());
    EXPECT_EQ(m_services.openers[2], std::this_thread::get_id());
}

} // namespace

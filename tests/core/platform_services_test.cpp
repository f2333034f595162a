#include "core/headless_platform_services.h"
#include "core/platform_services.h"
#include "tests/core/qstring_printer.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

class PlatformServicesTest : public testing::Test {
  protected:
    void SetUp() override { InstallPlatformServices(&m_services); }
    void TearDown() override { InstallPlatformServices(nullptr); }

    HeadlessPlatformServices m_services;
};

TEST_F(PlatformServicesTest, CallsReachTheInstalledServicesAndNothingElse) {
    DefaultPlatformServices().Clear();
    CopyTextToClipboard(u"line one\r\nzweite Zeile ü 😀"_s);
    OpenUrlInBrowser(u"https://example.com/"_s);
    EXPECT_EQ(m_services.CopiedTexts(), QStringList{u"line one\r\nzweite Zeile ü 😀"_s});
    EXPECT_EQ(m_services.OpenedUrls(), QStringList{u"https://example.com/"_s});
    EXPECT_TRUE(DefaultPlatformServices().CopiedTexts().isEmpty());
    EXPECT_TRUE(DefaultPlatformServices().OpenedUrls().isEmpty());

    // Uninstalled, the headless recorder takes the calls again.
    InstallPlatformServices(nullptr);
    EXPECT_EQ(&InstalledPlatformServices(), &DefaultPlatformServices());
    CopyTextToClipboard(u"later"_s);
    EXPECT_EQ(m_services.CopiedTexts().size(), 1);
    EXPECT_EQ(DefaultPlatformServices().CopiedTexts(), QStringList{u"later"_s});
    DefaultPlatformServices().Clear();
}

// Web and mail addresses open as given, shell characters included; anything else gets "http://" in front.
TEST_F(PlatformServicesTest, OnlyWebAndMailAddressesOpenUnprefixed) {
    const std::pair<QString, QString> rows[] = {
        {u"http://h/p"_s, u"http://h/p"_s},
        {u"https://h/p?q=1"_s, u"https://h/p?q=1"_s},
        {u"mailto:a@b.example"_s, u"mailto:a@b.example"_s},
        {u"HTTPS://H/"_s, u"HTTPS://H/"_s},
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

TEST_F(PlatformServicesTest, CallsFromSeveralThreadsAreAllRecorded) {
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([] {
            for (int i = 0; i < 200; ++i) {
                OpenUrlInBrowser(QString::number(i));
                CopyTextToClipboard(QString::number(i));
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(m_services.OpenedUrls().size(), 800);
    EXPECT_EQ(m_services.CopiedTexts().size(), 800);
}

} // namespace

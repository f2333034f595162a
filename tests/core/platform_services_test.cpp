#include "core/headless_platform_services.h"
#include "core/platform_services.h"
#include "tests/core/qstring_printer.h"

#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

QString s(const char16_t* text) {
    return QString::fromUtf16(text);
}

class PlatformServicesTest : public testing::Test {
  protected:
    void SetUp() override { InstallPlatformServices(&m_services); }
    void TearDown() override { InstallPlatformServices(nullptr); }

    HeadlessPlatformServices m_services;
};

TEST(PlatformServicesDefault, HeadlessRecorderIsInUseUntilSomethingIsInstalled) {
    EXPECT_EQ(&InstalledPlatformServices(), &DefaultPlatformServices());
    DefaultPlatformServices().Clear();
    CopyTextToClipboard(s(u"kept"));
    EXPECT_EQ(DefaultPlatformServices().CopiedTexts(), QStringList{s(u"kept")});
    DefaultPlatformServices().Clear();
}

TEST_F(PlatformServicesTest, CallsReachTheInstalledServicesAndNothingElse) {
    DefaultPlatformServices().Clear();
    CopyTextToClipboard(s(u"line one\r\nzweite Zeile ü 😀"));
    OpenUrlInBrowser(s(u"https://example.com/"));
    EXPECT_EQ(m_services.CopiedTexts(), QStringList{s(u"line one\r\nzweite Zeile ü 😀")});
    EXPECT_EQ(m_services.OpenedUrls(), QStringList{s(u"https://example.com/")});
    EXPECT_TRUE(DefaultPlatformServices().CopiedTexts().isEmpty());
    EXPECT_TRUE(DefaultPlatformServices().OpenedUrls().isEmpty());

    InstallPlatformServices(nullptr);
    CopyTextToClipboard(s(u"later"));
    EXPECT_EQ(m_services.CopiedTexts().size(), 1);
    EXPECT_EQ(DefaultPlatformServices().CopiedTexts(), QStringList{s(u"later")});
    DefaultPlatformServices().Clear();
}

TEST_F(PlatformServicesTest, WebAndMailAddressesOpenAsGiven) {
    const QStringList kept = {s(u"http://h/p"), s(u"https://h/p?q=1"), s(u"mailto:a@b.example"),
                              s(u"HTTPS://H/"), s(u"Http:x")};
    for (const QString& url : kept)
        OpenUrlInBrowser(url);
    EXPECT_EQ(m_services.OpenedUrls(), kept);
}

TEST_F(PlatformServicesTest, AnythingElseGetsHttpInFront) {
    OpenUrlInBrowser(s(u"www.example.com/page"));
    OpenUrlInBrowser(s(u"ftp://files.example/"));
    OpenUrlInBrowser(s(u"file:///etc/passwd"));
    OpenUrlInBrowser(s(u"--help"));
    OpenUrlInBrowser(s(u"httpx"));
    EXPECT_EQ(m_services.OpenedUrls(),
              QStringList({s(u"http://www.example.com/page"), s(u"http://ftp://files.example/"),
                           s(u"http://file:///etc/passwd"), s(u"http://--help"), s(u"http://httpx")}));
}

TEST_F(PlatformServicesTest, ShellCharactersStayInsideTheOneUrl) {
    const QString url = s(u"http://h/a b\"c';rm -rf ~ $(x) `y` %1");
    OpenUrlInBrowser(url);
    EXPECT_EQ(m_services.OpenedUrls(), QStringList{url});
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

#include "core/headless_platform_services.h"
#include "core/platform_services.h"
#include "tests/core/qstring_printer.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class PlatformServicesTest : public testing::Test {
  protected:
    void SetUp() override { InstallPlatformServices(&m_services); }
    void TearDown() override { InstallPlatformServices(nullptr); }

    HeadlessPlatformServices m_services;
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

} // namespace

#include "net/http_url.h"
#include "tests/support/qstring_printer.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Addresses as users type them, ads show them and result links give them: each names one site.
TEST(SiteOfUrl, GivesTheHostOfAnyAddressInOneForm) {
    const struct {
        QString url;
        QString site;
    } cases[] = {
        {u"HTTP://www.Example.com/a"_s, u"example.com"_s},
        {u"  WWW.Shop.example/Deals  "_s, u"shop.example"_s},
        {u"shop.example Deals"_s, u"shop.example"_s},
        {u"ftp://www.files.example/x"_s, u"files.example"_s},
        {u"https://user:pw@www.example.com:8443/p?q=1#f"_s, u"example.com"_s},
        {u"example.com:8080"_s, u"example.com"_s},
        {u"http://example.com./"_s, u"example.com"_s},
        // Only a scheme at the very start counts: the query's address is not the site.
        {u"example.com/go?to=http://other.test/"_s, u"example.com"_s},
        {u"http://example.com?next=https://other.test"_s, u"example.com"_s},
        // One "www." at the start of the host, and only there.
        {u"http://www.www.example/"_s, u"www.example"_s},
        {u"showww.com"_s, u"showww.com"_s},
        {u"http://www./"_s, u"www"_s},
        {u"http://[FE80::1]:81/"_s, u"[fe80::1]"_s},
        {u""_s, QString()},
        {u"   "_s, QString()},
        {u"/relative/path"_s, QString()},
        {u"http://user@/"_s, QString()},
        {u"http://[::1/"_s, QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SiteOfUrl(c.url), c.site) << c.url.toStdString();
}

TEST(SiteOfUrl, KeepsTheWwwOrThePortOnlyWhenAsked) {
    EXPECT_EQ(SiteOfUrl(u"http://WWW.Example.com:8080/"_s, {.keepWww = true}), u"www.example.com"_s);
    const struct {
        QString url;
        QString site;
    } ports[] = {
        {u"http://www.Example.com:8080/"_s, u"example.com:8080"_s},
        {u"http://example.com:80/"_s, u"example.com"_s},
        {u"https://example.com:443/"_s, u"example.com"_s},
        {u"https://example.com:80/"_s, u"example.com:80"_s},
        // Without a scheme no port is the default one, so a site with its port reads back as itself.
        {u"127.0.0.1:80"_s, u"127.0.0.1:80"_s},
        {u"http://[::1]:08080/"_s, u"[::1]:8080"_s},
        {u"http://example.com:99999/"_s, u"example.com"_s},
        {u"http://example.com:/"_s, u"example.com"_s},
    };
    for (const auto& c : ports)
        EXPECT_EQ(SiteOfUrl(c.url, {.keepPort = true}), c.site) << c.url.toStdString();
    EXPECT_EQ(SiteOfUrl(u"https://www.example.com:8443/"_s, {.keepWww = true, .keepPort = true}),
              u"www.example.com:8443"_s);
}

} // namespace

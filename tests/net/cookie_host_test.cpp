#include "net/cookie_domain.h"
#include "net/cookie_jar.h"
#include "net/cookie_parser.h"
#include "net/http_url.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr std::int64_t kNow = 1893456000;

TEST(CookieHostForm, LeadingDotsNeverReachTheHostForm) {
    for (const QString& url :
         {u"http://.example.com/"_s, u"https://..example.com:8443/a"_s, u"http://user@.example.com/"_s,
          u"http://./"_s, u"http://example.com/a\r\nX: y"_s})
        EXPECT_FALSE(SplitHttpUrl(url).valid) << url.toStdString();
    EXPECT_TRUE(SplitHttpUrl(u"http://a.example.com./"_s).valid);

    const std::pair<QString, QString> forms[] = {{u".Example.COM"_s, u"example.com"_s},
                                                 {u"..a.example.com."_s, u"a.example.com"_s},
                                                 {u" [::1] "_s, u"::1"_s},
                                                 {u"[ .x.example. ]"_s, u"x.example"_s},
                                                 {u"[[a]]"_s, u"a"_s},
                                                 {u"..."_s, QString()}};
    for (const auto& [host, form] : forms) {
        EXPECT_EQ(CookieHost(host), form) << host.toStdString();
        EXPECT_EQ(CookieHost(CookieHost(host)), CookieHost(host)) << host.toStdString();
    }
}

// A reply reaching the jar from a host written with a leading dot must not widen its host-only cookies.
TEST(CookieHostForm, HostOnlyCookieOfADottedHostStaysHostOnly) {
    CookieJar jar;
    std::vector<CDownloader_Cookie> cookies;
    ParseSetCookieHeader(u"sid=1"_s, u".example.com"_s, kNow, cookies);
    ParseSetCookieHeader(u"wide=2; Domain=.example.com"_s, u"www.example.com"_s, kNow, cookies);
    jar.Add(cookies, kNow);
    EXPECT_EQ(jar.HeaderFor(u"example.com"_s, u"/"_s, false, kNow), u"sid=1;wide=2;"_s);
    EXPECT_EQ(jar.HeaderFor(u"shop.example.com"_s, u"/"_s, false, kNow), u"wide=2;"_s);
}

// What the Domain check passes is what the jar stores: the check reads the attribute in host form too.
TEST(CookieHostForm, DomainIsCheckedInTheFormItIsStoredIn) {
    std::vector<CDownloader_Cookie> cookies;
    ParseSetCookieHeader(u"k=1; Domain=[x.example]"_s, u"a.[x.example]"_s, kNow, cookies);
    EXPECT_TRUE(cookies.empty());
    ParseSetCookieHeader(u"k=1; Domain=..Example.com."_s, u"www.example.com"_s, kNow, cookies);
    ASSERT_EQ(cookies.size(), 1u);
    EXPECT_EQ(cookies[0].domain, u".example.com"_s);
}

} // namespace

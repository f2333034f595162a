#include "core/limits.h"
#include "net/cookie_date.h"
#include "net/cookie_jar.h"
#include "net/cookie_parser.h"
#include "net/crawler.h"
#include "tests/support/test_clock.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

using Cookies = std::vector<CDownloader_Cookie>;

// Sun, 06 Nov 1994 08:49:37 GMT.
constexpr std::int64_t kDate1994 = 784111777;
// A "now" in 2030, so that dates in the 1990s are in the past.
constexpr std::int64_t kNow = 1893456000;

Cookies Parse(const QString& header, const QString& host, std::int64_t now = kNow) {
    Cookies out;
    ParseSetCookieHeader(header, host, now, out);
    return out;
}

// Each cookie as "text path domain", with " secure" when set, joined by " | ".
QString Describe(const Cookies& cookies) {
    QStringList parts;
    for (const CDownloader_Cookie& cookie : cookies)
        parts << cookie.text + u' ' + cookie.path + u' ' + cookie.domain +
                     (cookie.secure ? u" secure"_s : QString());
    return parts.join(u" | "_s);
}

// Parses one response's header from host and merges it, as the response processing does.
void Receive(CookieJar& jar, const QString& header, const QString& host, std::int64_t now = kNow) {
    jar.Add(Parse(header, host, now), now);
}

QString Send(CookieJar& jar, const QString& host, const QString& path = u"/"_s, bool https = false,
             std::int64_t now = kNow) {
    return jar.HeaderFor(host, path, https, now);
}

TEST(CookieParsing, PartsAttributesAndDomains) {
    const struct {
        QString header;
        QString host;
        QString cookies; // as describe gives them; empty: refused
    } cases[] = {
        // Several cookie parts share the attributes; the first attribute ends them.
        {u"a=1; b = 2 ; path=/shop; secure"_s, u"www.example.com"_s,
         u"a=1 /shop www.example.com secure | b = 2 /shop www.example.com secure"_s},
        {u"sid=abc; SameSite=Lax; Priority=High; Version=1; Comment=hello; Partitioned"_s, u"example.com"_s,
         u"sid=abc / example.com"_s},
        // A flag without "=" ends the cookie parts too, so the secure flag of this header is not lost.
        {u"a=1; Secure; HttpOnly"_s, u"example.com"_s, u"a=1 / example.com secure"_s},
        {u"junk; a=1; big="_s + QString(limits::kMaxCookieTextLength, u'x') + u"; b=2"_s, u"example.com"_s,
         u"a=1 / example.com | b=2 / example.com"_s},
        // A path outside the site falls back to the root.
        {u"a=1; path=shop"_s, u"example.com"_s, u"a=1 / example.com"_s},
        {u"a=1; path="_s, u"example.com"_s, u"a=1 / example.com"_s},
        // A Domain attribute is accepted only for the host and its parents.
        {u"a=1; domain=example.com"_s, u"www.Example.COM"_s, u"a=1 / .example.com"_s},
        {u"a=1; domain=.example.com"_s, u"example.com"_s, u"a=1 / .example.com"_s},
        {u"a=1; domain=shop.co.uk"_s, u"www.shop.co.uk"_s, u"a=1 / .shop.co.uk"_s},
        // Hosts without sub-domains keep their cookies to themselves.
        {u"a=1; domain=localhost"_s, u"localhost"_s, u"a=1 / localhost"_s},
        {u"a=1; domain=127.0.0.1"_s, u"127.0.0.1"_s, u"a=1 / 127.0.0.1"_s},
        {u"a=1; b=2; domain=example.com"_s, u"notexample.com"_s, {}},
        {u"a=1; domain=other.com"_s, u"www.example.com"_s, {}},
        {u"a=1; domain=www.example.com"_s, u"example.com"_s, {}},
        {u"a=1; domain=co.uk"_s, u"shop.co.uk"_s, {}},
        {u"a=1; domain=.com.au"_s, u"www.shop.com.au"_s, {}},
        {u"a=1; domain=com"_s, u"example.com"_s, {}},
        {u"a=1; domain=localhost"_s, u"app.localhost"_s, {}},
        {u"a=1; domain=0.0.1"_s, u"127.0.0.1"_s, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Describe(Parse(c.header, c.host)), c.cookies) << c.header.toStdString();

    // A refused Domain drops only that header's cookies.
    Cookies out;
    ParseSetCookieHeader(u"keep=1"_s, u"example.com"_s, kNow, out);
    ParseSetCookieHeader(u"x=1; y=2; domain=evil.com"_s, u"example.com"_s, kNow, out);
    EXPECT_EQ(Describe(out), u"keep=1 / example.com"_s);
}

TEST(CookieDates, CommonFormsReadAsUtcAndBadOnesNot) {
    const struct {
        QString text;
        std::optional<std::int64_t> seconds;
    } cases[] = {
        {u"Sun, 06 Nov 1994 08:49:37 GMT"_s, kDate1994},
        {u"Sun, 06-Nov-1994 08:49:37 GMT"_s, kDate1994},
        {u"Sunday, 06-Nov-94 08:49:37 GMT"_s, kDate1994},
        {u"Sun Nov  6 08:49:37 1994"_s, kDate1994},
        {u"sun, 6 nov 1994 8:49:37 gmt"_s, kDate1994},
        {u"Thu, 01 Jan 2037 00:00:01 GMT"_s, 2114380801},
        {u"Wed, 01-Jan-25 00:00:00 GMT"_s, 1735689600},
        {u""_s, {}},
        {u"Sun, 06 Nov 1994"_s, {}},
        {u"Sun, 31 Feb 2010 08:49:37 GMT"_s, {}},
        {u"Sun, 06 Foo 1994 08:49:37 GMT"_s, {}},
        {u"Sun, 06 Nov 1994 25:49:37 GMT"_s, {}},
        {u"Sun, 06 Nov 1500 08:49:37 GMT"_s, {}},
        {u"tomorrow"_s, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseCookieDate(c.text), c.seconds) << c.text.toStdString();
}

TEST(CookieExpiry, ExpiresMaxAgeAndTheirOrder) {
    constexpr std::int64_t kDeleted = -1; // any time before the epoch
    const struct {
        QString header;
        std::int64_t expiry;
    } cases[] = {
        {u"a=1; expires=Sun, 06 Nov 1994 08:49:37 GMT"_s, kDate1994},
        {u"a=1; expires=never"_s, 0},                                // unreadable: a session cookie
        {u"a=1; expires=Thu, 01 Jan 1970 00:00:00 GMT"_s, kDeleted}, // the deletion date is not 0
        {u"a=1; max-age=100; expires=Sun, 06 Nov 1994 08:49:37 GMT"_s, kNow + 100},
        {u"a=1; expires=Sun, 06 Nov 1994 08:49:37 GMT; Max-Age=100"_s, kNow + 100},
        {u"a=1; Max-Age=60; Comment=x"_s, kNow + 60},
        {u"a=1; Max-Age=0"_s, kDeleted},
        {u"a=1; Max-Age=-5"_s, kDeleted},
        {u"a=1; Max-Age=12abc"_s, 0},
        {u"a=1; Max-Age=99999999999999999999999"_s, std::numeric_limits<std::int64_t>::max()},
    };
    for (const auto& c : cases) {
        const std::int64_t expiry = Parse(c.header, u"example.com"_s).at(0).expiry;
        EXPECT_EQ(expiry < 0 ? kDeleted : expiry, c.expiry) << c.header.toStdString();
    }
}

TEST(CookieJarSending, CookiesReachTheirHostsPathsAndSchemesOnlyInSortedOrder) {
    struct Request {
        QString host;
        QString sent;
        QString path = u"/"_s;
        bool https = false;
    };
    const struct {
        QStringList headers;
        QString from;
        std::vector<Request> requests;
    } cases[] = {
        // A Domain cookie goes to the domain and its sub-domains.
        {{u"d=1; domain=example.com"_s},
         u"www.example.com"_s,
         {{u"www.example.com"_s, u"d=1;"_s},
          {u"example.com"_s, u"d=1;"_s},
          {u"a.b.EXAMPLE.com"_s, u"d=1;"_s},
          {u"notexample.com"_s, {}},
          {u"example.org"_s, {}}}},
        // A host cookie goes to that host only.
        {{u"h=1"_s},
         u"www.example.com"_s,
         {{u"www.example.com"_s, u"h=1;"_s}, {u"example.com"_s, {}}, {u"a.www.example.com"_s, {}}}},
        {{u"t=1"_s}, u"t.co"_s, {{u"t.co"_s, u"t=1;"_s}}},
        {{u"v6=1"_s}, u"[::1]"_s, {{u"::1"_s, u"v6=1;"_s}}},
        // The cookie's path is a case-sensitive prefix of the request path.
        {{u"p=1; path=/shop"_s},
         u"example.com"_s,
         {{u"example.com"_s, u"p=1;"_s, u"/shop/cart?x=1"_s},
          {u"example.com"_s, u"p=1;"_s, u"/shop"_s},
          {u"example.com"_s, {}, u"/"_s},
          {u"example.com"_s, {}, u"/Shop"_s}}},
        // Secure cookies go over https only.
        {{u"s=1; Secure"_s, u"p=2"_s},
         u"example.com"_s,
         {{u"example.com"_s, u"p=2;"_s}, {u"example.com"_s, u"p=2;s=1;"_s, u"/"_s, true}}},
        // The wire form is sorted, whatever order the cookies came in.
        {{u"b=2"_s, u"a=1"_s, u"c=3; path=/x"_s},
         u"example.com"_s,
         {{u"example.com"_s, u"a=1;b=2;c=3;"_s, u"/x/y"_s}}},
    };
    for (const auto& c : cases) {
        CookieJar jar;
        for (const QString& header : c.headers)
            Receive(jar, header, c.from);
        for (const Request& request : c.requests)
            EXPECT_EQ(Send(jar, request.host, request.path, request.https), request.sent)
                << c.headers.join(u" + "_s).toStdString() << " to " << request.host.toStdString()
                << request.path.toStdString();
    }
}

TEST(CookieJarMerging, SameCookieIsReplacedAndDeleted) {
    CookieJar jar;
    Receive(jar, u"a=1"_s, u"example.com"_s);
    Receive(jar, u"a=2"_s, u"example.com"_s);
    EXPECT_EQ(Send(jar, u"example.com"_s), u"a=2;"_s);
    ASSERT_EQ(jar.Cookies().size(), 1u);

    // Another path or domain is another cookie.
    Receive(jar, u"a=3; path=/x"_s, u"example.com"_s);
    Receive(jar, u"a=4; domain=example.com"_s, u"example.com"_s);
    EXPECT_EQ(jar.Cookies().size(), 3u);

    Receive(jar, u"a=; expires=Sun, 06 Nov 1994 08:49:37 GMT"_s, u"example.com"_s);
    Receive(jar, u"a=; Max-Age=0; path=/x"_s, u"example.com"_s);
    EXPECT_EQ(Send(jar, u"example.com"_s, u"/x"_s), u"a=4;"_s);

    // Deleting a cookie the jar does not hold stores nothing; neither does a cookie of another site.
    EXPECT_FALSE(jar.Add(Parse(u"gone=; Max-Age=0"_s, u"example.com"_s), kNow));
    Receive(jar, u"a=; Max-Age=0"_s, u"other.example.com"_s);
    EXPECT_EQ(jar.Cookies().size(), 1u);
    EXPECT_EQ(Send(jar, u"example.com"_s), u"a=4;"_s);
}

TEST(CookieJarMerging, HandMadeDomainCookiesForPublicSuffixesAreRefused) {
    CookieJar jar;
    CDownloader_Cookie cookie;
    cookie.name = u"m"_s;
    cookie.text = u"m=1"_s;
    for (const QString& domain : {u".com"_s, u".co.uk"_s, u"."_s, u""_s}) {
        cookie.domain = domain;
        EXPECT_FALSE(jar.Add({cookie}, kNow)) << domain.toStdString();
    }
    cookie.domain = u".Bing.com"_s;
    EXPECT_TRUE(jar.Add({cookie}, kNow));
    EXPECT_EQ(Send(jar, u"www.bing.com"_s), u"m=1;"_s);
}

TEST(CookieJarExpiry, ExpiredCookiesAreNotSent) {
    CookieJar jar;
    Receive(jar, u"short=1; Max-Age=60"_s, u"example.com"_s, kNow);
    Receive(jar, u"session=1"_s, u"example.com"_s, kNow);
    EXPECT_EQ(Send(jar, u"example.com"_s, u"/"_s, false, kNow + 59), u"session=1;short=1;"_s);
    EXPECT_EQ(Send(jar, u"example.com"_s, u"/"_s, false, kNow + 60), u"session=1;"_s);
    EXPECT_EQ(jar.Cookies().size(), 1u);
}

TEST(CookieJarLimits, DomainKeepsItsNewestCookies) {
    CookieJar jar;
    for (int i = 0; i < limits::kMaxCookiesPerDomain + 5; ++i)
        Receive(jar, u"c%1=v; domain=example.com"_s.arg(i, 3, 10, QLatin1Char('0')), u"example.com"_s);
    Receive(jar, u"other=1"_s, u"example.org"_s);
    EXPECT_EQ(jar.Cookies().size(), size_t(limits::kMaxCookiesPerDomain + 1));
    const QString header = Send(jar, u"example.com"_s);
    EXPECT_FALSE(header.contains(u"c004="_s));
    EXPECT_TRUE(header.contains(u"c005="_s));
    EXPECT_TRUE(header.contains(u"c054="_s));
    EXPECT_EQ(Send(jar, u"example.org"_s), u"other=1;"_s);
}

TEST(CookieJarLimits, RecentlySetCookiesSurviveAndExpiredGoFirst) {
    CookieJar jar;
    Receive(jar, u"old=1"_s, u"example.com"_s);
    Receive(jar, u"dying=1; Max-Age=10"_s, u"example.com"_s);
    for (int i = 0; i < limits::kMaxCookiesPerDomain - 2; ++i)
        Receive(jar, u"c%1=v"_s.arg(i), u"example.com"_s);
    Receive(jar, u"old=2"_s, u"example.com"_s); // set again: now the newest
    Receive(jar, u"extra=1"_s, u"example.com"_s, kNow + 20);
    const QString header = Send(jar, u"example.com"_s, u"/"_s, false, kNow + 20);
    EXPECT_TRUE(header.contains(u"old=2;"_s));
    EXPECT_TRUE(header.contains(u"c0=v;"_s));
    EXPECT_TRUE(header.contains(u"extra=1;"_s));
    EXPECT_FALSE(header.contains(u"dying"_s));
}

TEST(CookieJarLimits, WholeJarIsCapped) {
    CookieJar jar;
    for (int i = 0; i < limits::kMaxCookiesTotal + 10; ++i)
        Receive(jar, u"c=1"_s, u"host%1.example.net"_s.arg(i));
    EXPECT_EQ(jar.Cookies().size(), size_t(limits::kMaxCookiesTotal));
    EXPECT_EQ(Send(jar, u"host0.example.net"_s), u""_s);
    EXPECT_EQ(Send(jar, u"host%1.example.net"_s.arg(limits::kMaxCookiesTotal + 9)), u"c=1;"_s);
}

TEST(CrawlerCookies, JarIsSharedSafelyBetweenThreads) {
    twtest::TestClock clock({.monotonicMs = 0, .utcSeconds = kNow});
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    {
        CProjectCrawler crawler({home.path(), home.path() + u"/data"_s, {}, {}});
        std::vector<std::thread> workers;
        for (int t = 0; t < 4; ++t) {
            workers.emplace_back([&crawler, t] {
                const QString host = u"w%1.example.com"_s.arg(t);
                for (int i = 0; i < 200; ++i) {
                    Cookies cookies;
                    CProjectCrawlerDefault::ParseSetCookie(u"n%1=%2"_s.arg(i % 10).arg(i), host, cookies);
                    crawler.AddCookies(cookies);
                    crawler.GetCookieHeader(host, u"/"_s, false);
                }
            });
        }
        for (std::thread& worker : workers)
            worker.join();
        EXPECT_EQ(crawler.GetCookieHeader(u"w2.example.com"_s, u"/"_s, false),
                  u"n0=190;n1=191;n2=192;n3=193;n4=194;n5=195;n6=196;n7=197;n8=198;n9=199;"_s);
    }
}

} // namespace

#include "core/url_coding.h"
#include "tests/support/qstring_printer.h"

#include <gtest/gtest.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct Coding {
    QString in;
    bool plus;
    QString out;
};

TEST(ResolveUrl, LinksResolveAgainstTheBasePath) {
    const struct {
        QString base, link, expected;
    } rows[] = {
        // ordinary relative links; climbing past the root stops at the host
        {u"http://host/x/y/page.html"_s, u"../a.html"_s, u"http://host/x/a.html"_s},
        {u"http://host/x/y/page.html"_s, u"/a.html"_s, u"http://host/a.html"_s},
        {u"http://host/x/y/page.html"_s, u"b.html"_s, u"http://host/x/y/b.html"_s},
        {u"http://host/x/y/page.html"_s, u"sub/c.html?k=v"_s, u"http://host/x/y/sub/c.html?k=v"_s},
        {u"http://host/x/y/page.html"_s, u"../../../../a.html"_s, u"http://host/a.html"_s},
        {u"http://host/x/y/"_s, u"b.html"_s, u"http://host/x/y/b.html"_s},
        // links with their own scheme come back unchanged; scheme text later in a relative link does not
        // count
        {u"http://host/x/page.html"_s, u"mailto:someone@example.com"_s, u"mailto:someone@example.com"_s},
        {u"http://host/x/page.html"_s, u"https:relative"_s, u"https:relative"_s},
        {u"http://host/x/page.html"_s, u"svn+ssh://h/r"_s, u"svn+ssh://h/r"_s},
        {u"http://host/x/page.html"_s, u"out.php?u=https://a/b"_s, u"http://host/x/out.php?u=https://a/b"_s},
        {u"http://host/x/page.html"_s, u"2024:report.html"_s, u"http://host/x/2024:report.html"_s},
        // protocol-relative links take the base's scheme
        {u"https://host/x/page.html"_s, u"//cdn.example/lib.js"_s, u"https://cdn.example/lib.js"_s},
        // "?" replaces query and fragment of the document, "#" only the fragment
        {u"http://host/x/page.html?p=1#top"_s, u"?p=2"_s, u"http://host/x/page.html?p=2"_s},
        {u"http://host/x/"_s, u"?p=2"_s, u"http://host/x/?p=2"_s},
        {u"http://host/x/page.html?p=1#old"_s, u"#f"_s, u"http://host/x/page.html?p=1#f"_s},
        {u"http://host/x/page.html?next=#a/b"_s, u"#f"_s, u"http://host/x/page.html?next=#f"_s},
        // the base is cut in its path, never in its query or fragment
        {u"http://host/x/page.php?next=/a/b/c"_s, u"../d.html"_s, u"http://host/d.html"_s},
        {u"http://host/x/page#part/2"_s, u"d.html"_s, u"http://host/x/d.html"_s},
        {u"http://host?a=/b/c"_s, u"d.html"_s, u"http://host/d.html"_s},
        {u"http://host#/route/x"_s, u"d.html"_s, u"http://host/d.html"_s},
        // a bare host joins without a doubled slash
        {u"http://host"_s, u"b.html"_s, u"http://host/b.html"_s},
        {u"http://host"_s, u"../../b.html"_s, u"http://host/b.html"_s},
        {u"http://host:8080"_s, u"b.html"_s, u"http://host:8080/b.html"_s},
        // short host names and user, port in the authority are never taken for path
        {u"http://a/x/page.html"_s, u"../d"_s, u"http://a/d"_s},
        {u"http://a"_s, u"q"_s, u"http://a/q"_s},
        {u"https://user@h:8443/d/p"_s, u"/r"_s, u"https://user@h:8443/r"_s},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE((row.base + u" + "_s + row.link).toStdString());
        EXPECT_EQ(ResolveUrl(row.link, row.base), row.expected);
    }
}

TEST(UrlFolder, CutsBeforeTheLastSlashOfThePath) {
    const std::pair<QString, QString> rows[] = {
        {u"http://host/x/y/page.html"_s, u"http://host/x/y"_s},
        {u"http://host/x/y/"_s, u"http://host/x/y"_s},
        {u"http://host/"_s, u"http://host"_s},
        {u"http://host"_s, u"http://host/"_s},
        {u"http://a/x"_s, u"http://a"_s},
        {u"http://host/x/page?q=/1#/2"_s, u"http://host/x"_s},
        {u"http://host?q=/1"_s, u"http://host/"_s},
    };
    for (const auto& [url, folder] : rows)
        EXPECT_EQ(UrlFolder(url), folder) << url.toStdString();
}

// The downloader keeps a cut folder and resolves many links against it.
TEST(ResolveUrlInFolder, AgreesWithResolvingAgainstTheFullBase) {
    for (const QString& base :
         {u"http://host/x/y/page.html?a=1#b"_s, u"http://host"_s, u"http://h/"_s, u"https://a/x/p"_s}) {
        for (const QString& link : {u"b.html"_s, u"../b.html"_s, u"/b.html"_s, u"//cdn/b"_s, u"mailto:x"_s,
                                    u"?q"_s, u"#f"_s, u"../../../b"_s}) {
            SCOPED_TRACE((base + u" + "_s + link).toStdString());
            EXPECT_EQ(ResolveUrlInFolder(link, UrlFolder(base), base), ResolveUrl(link, base));
        }
    }
    // Without the document the folder stands for it.
    EXPECT_EQ(ResolveUrlInFolder(u"?q=1"_s, u"http://host/x"_s), u"http://host/x/?q=1"_s);
    EXPECT_EQ(ResolveUrlInFolder(u"#f"_s, u"http://host/"_s), u"http://host/#f"_s);
}

TEST(UrlEncode, LettersAndDigitsOfAnyScriptStayOtherCharactersBecomeUtf8Escapes) {
    const Coding rows[] = {
        {u"a b&c"_s, true, u"a+b%26c"_s},
        {u"a b&c"_s, false, u"a%20b%26c"_s},
        {u"Zebra09 café Москва 日本 ٣"_s, true, u"Zebra09+café+Москва+日本+٣"_s},
        {u"\U0001D400x"_s, false, u"\U0001D400x"_s}, // a letter outside the basic plane stays whole
        {u"-_.~+%/\n\0"_s, false, u"%2D%5F%2E%7E%2B%25%2F%0A%00"_s},
        {u"©"_s, false, u"%C2%A9"_s},
        {u"€😀"_s, false, u"%E2%82%AC%F0%9F%98%80"_s},
        {u"\u00A0"_s, true, u"%C2%A0"_s}, // a no-break space is not a blank
        {u"\xD83D"
         u"a\xDE00\xD83D"_s,
         false, u"%EF%BF%BDa%EF%BF%BD%EF%BF%BD"_s}, // lone surrogates
    };
    for (const Coding& row : rows)
        EXPECT_EQ(UrlEncode(row.in, row.plus), row.out) << row.in.toStdString();
}

TEST(UrlDecode, OnePassTwoHexDigitsAndUtf8Runs) {
    const Coding rows[] = {
        // "+" is a blank only as a literal and only when asked
        {u"a%20b+c"_s, true, u"a b c"_s},
        {u"a%20b+c"_s, false, u"a b+c"_s},
        // escape runs that form UTF-8 decode as UTF-8
        {u"%E2%82%AC"_s, false, u"€"_s},
        {u"caf%c3%a9"_s, false, u"café"_s},
        {u"%F0%9F%98%80!%41%42%00"_s, false, u"😀!AB\0"_s},
        // bytes outside valid UTF-8 decode as the character of their code
        {u"caf%E9"_s, false, u"café"_s},
        {u"%C3x"_s, false, u"\u00C3x"_s},
        {u"%E2%82"_s, false, u"\u00E2\u0082"_s},
        {u"%C0%AF"_s, false, u"\u00C0\u00AF"_s},                   // overlong
        {u"%ED%A0%80"_s, false, u"\u00ED\u00A0\u0080"_s},          // a surrogate
        {u"%F4%90%80%80"_s, false, u"\u00F4\u0090\u0080\u0080"_s}, // above U+10FFFF
        {u"%C3%C3%A9"_s, false, u"\u00C3é"_s},
        {u"%C3-%A9"_s, false, u"\u00C3-\u00A9"_s}, // a literal ends a run
        // malformed escapes stay literal
        {u"100%"_s, false, u"100%"_s},
        {u"%4"_s, false, u"%4"_s},
        {u"%G1"_s, false, u"%G1"_s},
        {u"%4G"_s, false, u"%4G"_s},
        {u"% 41"_s, false, u"% 41"_s},
        {u"%+1"_s, true, u"% 1"_s},
        {u"%%41"_s, false, u"%A"_s},
        {u"%\uFF14\uFF11"_s, false, u"%\uFF14\uFF11"_s}, // full-width digits are not hex
        {u"%E2%82%A"_s, false, u"\u00E2\u0082%A"_s},
        // decoded text is not decoded again
        {u"%2541"_s, false, u"%41"_s},
    };
    for (const Coding& row : rows)
        EXPECT_EQ(UrlDecode(row.in, row.plus), row.out) << row.in.toStdString();
}

TEST(UrlCoding, EncodeThenDecodeGivesTheTextBack) {
    for (const QString& text :
         {u""_s, u"a b  c"_s, u"1+1=2 & 50% off?"_s, u"naïve café, Straße, Ελληνικά, русский, 中文, עברית"_s,
          u"emoji 😀👍🏽 and 𝐀𝐁 and \U00010348"_s, u"tab\tnew\r\nline\0"_s, u"%2B%zz%"_s,
          u"\u00C3\u00A9 looks like UTF-8"_s})
        for (const bool plus : {false, true})
            EXPECT_EQ(UrlDecode(UrlEncode(text, plus), plus), text) << text.toStdString();
}

} // namespace

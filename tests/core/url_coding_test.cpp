#include "core/url_coding.h"
#include "tests/core/qstring_printer.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

QString s(const char16_t* text) {
    return QString::fromUtf16(text);
}

struct Resolution {
    const char16_t* base;
    const char16_t* link;
    const char16_t* expected;
};

void expectResolutions(const std::vector<Resolution>& table) {
    for (const Resolution& row : table) {
        SCOPED_TRACE((s(row.base) + s(u" + ") + s(row.link)).toStdString());
        EXPECT_EQ(ResolveUrl(s(row.link), s(row.base)), s(row.expected));
    }
}

TEST(ResolveUrl, OrdinaryRelativeLinks) {
    expectResolutions({
        {u"http://host/x/y/page.html", u"../a.html", u"http://host/x/a.html"},
        {u"http://host/x/y/page.html", u"/a.html", u"http://host/a.html"},
        {u"http://host/x/y/page.html", u"b.html", u"http://host/x/y/b.html"},
        {u"http://host/x/y/page.html", u"sub/c.html?k=v", u"http://host/x/y/sub/c.html?k=v"},
        {u"http://host/x/y/page.html", u"../../a.html", u"http://host/a.html"},
        {u"http://host/x/y/page.html", u"../../../../a.html", u"http://host/a.html"},
        {u"http://host/x/y/", u"b.html", u"http://host/x/y/b.html"},
        {u"https://www.example.com/dir/index.php", u"next.php", u"https://www.example.com/dir/next.php"},
    });
}

TEST(ResolveUrl, LinksWithTheirOwnSchemeComeBackUnchanged) {
    expectResolutions({
        {u"http://host/x/page.html", u"http://other.example/z?q=1", u"http://other.example/z?q=1"},
        {u"http://host/x/page.html", u"https://other/z", u"https://other/z"},
        {u"http://host/x/page.html", u"mailto:someone@example.com", u"mailto:someone@example.com"},
        {u"http://host/x/page.html", u"javascript:void(0)", u"javascript:void(0)"},
        {u"http://host/x/page.html", u"https:relative", u"https:relative"},
        {u"http://host/x/page.html", u"svn+ssh://h/r", u"svn+ssh://h/r"},
    });
}

TEST(ResolveUrl, SchemeTextInsideARelativeLinkDoesNotMakeItAbsolute) {
    expectResolutions({
        {u"http://host/x/page.html", u"/go?to=http://other/", u"http://host/go?to=http://other/"},
        {u"http://host/x/page.html", u"out.php?u=https://a/b", u"http://host/x/out.php?u=https://a/b"},
        {u"http://host/x/page.html", u"2024:report.html", u"http://host/x/2024:report.html"},
    });
}

TEST(ResolveUrl, ProtocolRelativeLinksTakeTheBaseScheme) {
    expectResolutions({
        {u"https://host/x/page.html", u"//cdn.example/lib.js", u"https://cdn.example/lib.js"},
        {u"http://host/x/page.html", u"//cdn.example/lib.js", u"http://cdn.example/lib.js"},
        {u"http://host", u"//other", u"http://other"},
    });
}

TEST(ResolveUrl, QueryLinksReplaceQueryAndFragmentOfTheDocument) {
    expectResolutions({
        {u"http://host/x/page.html", u"?p=2", u"http://host/x/page.html?p=2"},
        {u"http://host/x/page.html?p=1&s=a", u"?p=2", u"http://host/x/page.html?p=2"},
        {u"http://host/x/page.html?p=1#top", u"?p=2", u"http://host/x/page.html?p=2"},
        {u"http://host/x/page.html#top", u"?p=2", u"http://host/x/page.html?p=2"},
        {u"http://host/x/", u"?p=2", u"http://host/x/?p=2"},
    });
}

TEST(ResolveUrl, FragmentLinksReplaceOnlyTheFragment) {
    expectResolutions({
        {u"http://host/x/page.html", u"#f", u"http://host/x/page.html#f"},
        {u"http://host/x/page.html?p=1", u"#f", u"http://host/x/page.html?p=1#f"},
        {u"http://host/x/page.html?p=1#old", u"#f", u"http://host/x/page.html?p=1#f"},
        {u"http://host/x/page.html?next=#a/b", u"#f", u"http://host/x/page.html?next=#f"},
    });
}

TEST(ResolveUrl, BaseIsCutInItsPathNeverInItsQueryOrFragment) {
    expectResolutions({
        {u"http://host/x/page.php?next=/a/b/c", u"d.html", u"http://host/x/d.html"},
        {u"http://host/x/page.php?next=/a/b/c", u"../d.html", u"http://host/d.html"},
        {u"http://host/x/page#part/2", u"d.html", u"http://host/x/d.html"},
        {u"http://host?a=/b/c", u"d.html", u"http://host/d.html"},
        {u"http://host#/route/x", u"d.html", u"http://host/d.html"},
    });
}

TEST(ResolveUrl, BareHostJoinsWithoutADoubledSlash) {
    expectResolutions({
        {u"http://host", u"b.html", u"http://host/b.html"},
        {u"http://host", u"../b.html", u"http://host/b.html"},
        {u"http://host", u"../../b.html", u"http://host/b.html"},
        {u"http://host", u"/b.html", u"http://host/b.html"},
        {u"http://host/", u"b.html", u"http://host/b.html"},
        {u"http://host/", u"../b.html", u"http://host/b.html"},
        {u"http://host:8080", u"b.html", u"http://host:8080/b.html"},
    });
}

TEST(ResolveUrl, ShortHostNamesKeepTheirAuthority) {
    expectResolutions({
        {u"http://a/x/page.html", u"b.html", u"http://a/x/b.html"},
        {u"http://a/x/page.html", u"/c", u"http://a/c"},
        {u"http://a/x/page.html", u"../d", u"http://a/d"},
        {u"http://a/p", u"q", u"http://a/q"},
        {u"http://a", u"q", u"http://a/q"},
        {u"https://user@h:8443/d/p", u"/r", u"https://user@h:8443/r"},
        {u"http://averylonghostname.example/p", u"/r", u"http://averylonghostname.example/r"},
    });
}

TEST(UrlFolder, CutsBeforeTheLastSlashOfThePath) {
    EXPECT_EQ(UrlFolder(s(u"http://host/x/y/page.html")), s(u"http://host/x/y"));
    EXPECT_EQ(UrlFolder(s(u"http://host/x/y/")), s(u"http://host/x/y"));
    EXPECT_EQ(UrlFolder(s(u"http://host/")), s(u"http://host"));
    EXPECT_EQ(UrlFolder(s(u"http://host")), s(u"http://host/"));
    EXPECT_EQ(UrlFolder(s(u"http://a/x")), s(u"http://a"));
    EXPECT_EQ(UrlFolder(s(u"http://host/x/page?q=/1#/2")), s(u"http://host/x"));
    EXPECT_EQ(UrlFolder(s(u"http://host?q=/1")), s(u"http://host/"));
}

// The downloader keeps a cut folder and resolves many links against it.
TEST(ResolveUrlInFolder, AgreesWithResolvingAgainstTheFullBase) {
    const std::vector<QString> bases = {s(u"http://host/x/y/page.html?a=1#b"), s(u"http://host"),
                                        s(u"http://h/"), s(u"https://a/x/p")};
    const std::vector<QString> links = {s(u"b.html"),   s(u"../b.html"), s(u"/b.html"), s(u"//cdn/b"),
                                        s(u"mailto:x"), s(u"?q"),        s(u"#f"),      s(u"../../../b")};
    for (const QString& base : bases) {
        for (const QString& link : links) {
            SCOPED_TRACE((base + s(u" + ") + link).toStdString());
            EXPECT_EQ(ResolveUrlInFolder(link, UrlFolder(base), base), ResolveUrl(link, base));
        }
    }
}

TEST(ResolveUrlInFolder, WithoutTheDocumentTheFolderStandsForIt) {
    EXPECT_EQ(ResolveUrlInFolder(s(u"?q=1"), s(u"http://host/x")), s(u"http://host/x/?q=1"));
    EXPECT_EQ(ResolveUrlInFolder(s(u"#f"), s(u"http://host/")), s(u"http://host/#f"));
    EXPECT_EQ(ResolveUrlInFolder(s(u"b.html"), s(u"http://host/x")), s(u"http://host/x/b.html"));
}

TEST(UrlEncode, BlankAsPlusOrEscape) {
    EXPECT_EQ(UrlEncode(s(u"a b&c"), true), s(u"a+b%26c"));
    EXPECT_EQ(UrlEncode(s(u"a b&c"), false), s(u"a%20b%26c"));
}

TEST(UrlEncode, LettersAndDigitsOfAnyScriptPassUnchanged) {
    EXPECT_EQ(UrlEncode(s(u"Zebra09"), false), s(u"Zebra09"));
    EXPECT_EQ(UrlEncode(s(u"café Москва 日本 ٣"), true), s(u"café+Москва+日本+٣"));
    // U+1D400, a letter outside the basic plane, stays one whole character.
    EXPECT_EQ(UrlEncode(s(u"\U0001D400x"), false), s(u"\U0001D400x"));
}

TEST(UrlEncode, OtherCharactersBecomeTheirUtf8Bytes) {
    EXPECT_EQ(UrlEncode(s(u"-_.~+%/"), false), s(u"%2D%5F%2E%7E%2B%25%2F"));
    EXPECT_EQ(UrlEncode(s(u"\n"), false), s(u"%0A"));
    EXPECT_EQ(UrlEncode(QString(QChar(u'\0')), false), s(u"%00"));
    EXPECT_EQ(UrlEncode(s(u"©"), false), s(u"%C2%A9"));
    EXPECT_EQ(UrlEncode(s(u"€"), false), s(u"%E2%82%AC"));
    EXPECT_EQ(UrlEncode(s(u"😀"), false), s(u"%F0%9F%98%80"));
    EXPECT_EQ(UrlEncode(s(u"\u00A0"), true), s(u"%C2%A0"));
}

TEST(UrlEncode, LoneSurrogatesBecomeTheReplacementCharacter) {
    QString text;
    text.append(QChar(0xD83D)).append(u'a').append(QChar(0xDE00)).append(QChar(0xD83D));
    EXPECT_EQ(UrlEncode(text, false), s(u"%EF%BF%BDa%EF%BF%BD%EF%BF%BD"));
}

TEST(UrlDecode, PlusAsBlankAppliesToLiteralPlusOnly) {
    EXPECT_EQ(UrlDecode(s(u"a%20b+c"), true), s(u"a b c"));
    EXPECT_EQ(UrlDecode(s(u"a%20b+c"), false), s(u"a b+c"));
    EXPECT_EQ(UrlDecode(s(u"1%2B1+2"), true), s(u"1+1 2"));
}

TEST(UrlDecode, EscapeRunsThatFormUtf8DecodeAsUtf8) {
    EXPECT_EQ(UrlDecode(s(u"%E2%82%AC"), false), s(u"€"));
    EXPECT_EQ(UrlDecode(s(u"caf%c3%a9"), false), s(u"café"));
    EXPECT_EQ(UrlDecode(s(u"%F0%9F%98%80!"), false), s(u"😀!"));
    EXPECT_EQ(UrlDecode(s(u"%41%42"), false), s(u"AB"));
    EXPECT_EQ(UrlDecode(s(u"%00"), false), QString(QChar(u'\0')));
}

TEST(UrlDecode, BytesOutsideValidUtf8DecodeAsTheCharacterOfTheirCode) {
    EXPECT_EQ(UrlDecode(s(u"caf%E9"), false), s(u"café"));
    EXPECT_EQ(UrlDecode(s(u"%C3"), false), s(u"\u00C3"));
    EXPECT_EQ(UrlDecode(s(u"%C3x"), false), s(u"\u00C3x"));
    EXPECT_EQ(UrlDecode(s(u"%E2%82"), false), s(u"\u00E2\u0082"));
    EXPECT_EQ(UrlDecode(s(u"%C0%AF"), false), s(u"\u00C0\u00AF"));          // overlong
    EXPECT_EQ(UrlDecode(s(u"%ED%A0%80"), false), s(u"\u00ED\u00A0\u0080")); // a surrogate
    EXPECT_EQ(UrlDecode(s(u"%F4%90%80%80"), false), s(u"\u00F4\u0090\u0080\u0080"));
    EXPECT_EQ(UrlDecode(s(u"%C3%C3%A9"), false), s(u"\u00C3é"));
    // A literal character ends a run: its neighbours do not join into one sequence.
    EXPECT_EQ(UrlDecode(s(u"%C3-%A9"), false), s(u"\u00C3-\u00A9"));
}

TEST(UrlDecode, MalformedEscapesStayLiteral) {
    EXPECT_EQ(UrlDecode(s(u"%"), false), s(u"%"));
    EXPECT_EQ(UrlDecode(s(u"100%"), false), s(u"100%"));
    EXPECT_EQ(UrlDecode(s(u"%4"), false), s(u"%4"));
    EXPECT_EQ(UrlDecode(s(u"%G1"), false), s(u"%G1"));
    EXPECT_EQ(UrlDecode(s(u"%4G"), false), s(u"%4G"));
    EXPECT_EQ(UrlDecode(s(u"% 41"), false), s(u"% 41"));
    EXPECT_EQ(UrlDecode(s(u"%+1"), true), s(u"% 1"));
    EXPECT_EQ(UrlDecode(s(u"%%41"), false), s(u"%A"));
    EXPECT_EQ(UrlDecode(s(u"%\uFF14\uFF11"), false), s(u"%\uFF14\uFF11")); // full-width digits
    EXPECT_EQ(UrlDecode(s(u"%E2%82%A"), false), s(u"\u00E2\u0082%A"));
}

TEST(UrlDecode, DecodedTextIsNotDecodedAgain) {
    EXPECT_EQ(UrlDecode(s(u"%2541"), false), s(u"%41"));
    EXPECT_EQ(UrlDecode(s(u"%252B+"), true), s(u"%2B "));
}

TEST(UrlCoding, EncodeThenDecodeGivesTheTextBack) {
    const std::vector<QString> texts = {
        s(u""),
        s(u"plain"),
        s(u"a b  c"),
        s(u"1+1=2 & 50% off?"),
        s(u"naïve café, Straße, Ελληνικά, русский, 中文, עברית"),
        s(u"emoji 😀👍🏽 and 𝐀𝐁 and \U00010348"),
        s(u"tab\tnew\r\nline"),
        s(u"%2B%zz%"),
        s(u"\u00C3\u00A9 looks like UTF-8"),
    };
    for (const QString& text : texts) {
        for (const bool plus : {false, true}) {
            SCOPED_TRACE(text.toStdString());
            EXPECT_EQ(UrlDecode(UrlEncode(text, plus), plus), text);
        }
    }
}

} // namespace

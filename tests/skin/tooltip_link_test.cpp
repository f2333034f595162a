#include "skin/tooltip_link.h"
#include "tests/skin/test_printers.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skin::FindTooltipLink;

TEST(TooltipLink, FirstAddressUpToTheNextBlank) {
    const QString text = u"See http://example.test/a?b=1 for more, or http://other.test"_s;
    const auto link = FindTooltipLink(text);
    EXPECT_EQ(link.url, u"http://example.test/a?b=1"_s);
    EXPECT_EQ(link.start, 4);
    EXPECT_EQ(link.length, link.url.size());
}

TEST(TooltipLink, HttpsCountsAndTheEarlierAddressWins) {
    EXPECT_EQ(FindTooltipLink(u"a https://s.test b http://p.test"_s).url, u"https://s.test"_s);
    EXPECT_EQ(FindTooltipLink(u"a http://p.test b https://s.test"_s).url, u"http://p.test"_s);
}

TEST(TooltipLink, LineBreakEndsTheAddress) {
    EXPECT_EQ(FindTooltipLink(u"Go to http://x.test/page\nthen wait"_s).url, u"http://x.test/page"_s);
}

TEST(TooltipLink, NoLinkForOtherOrBrokenAddresses) {
    EXPECT_EQ(FindTooltipLink(u"plain text"_s).start, -1);
    EXPECT_EQ(FindTooltipLink(u"file:///etc/passwd"_s).start, -1);
    EXPECT_EQ(FindTooltipLink(u"javascript:alert(1) http://"_s).start, -1);
    EXPECT_EQ(FindTooltipLink(u"http:///no-host"_s).start, -1);
    EXPECT_EQ(FindTooltipLink(u"http://[broken"_s).start, -1);
}

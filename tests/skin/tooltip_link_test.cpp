#include "skin/tooltip_link.h"
#include "tests/support/test_printers.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skin::FindTooltipLink;

// The first http or https address up to the next blank or line break; nothing else is ever a link.
TEST(TooltipLink, OnlyTheFirstValidWebAddressIsALink) {
    struct Case {
        QString text;
        QString url; // empty: no link
        int start;
    };
    const Case cases[] = {
        {u"See http://example.test/a?b=1 for more, or http://other.test"_s, u"http://example.test/a?b=1"_s,
         4},
        {u"a https://s.test b http://p.test"_s, u"https://s.test"_s, 2},
        {u"a http://p.test b https://s.test"_s, u"http://p.test"_s, 2},
        {u"Go to http://x.test/page\nthen wait"_s, u"http://x.test/page"_s, 6},
        {u"plain text"_s, {}, -1},
        {u"file:///etc/passwd"_s, {}, -1},
        {u"javascript:alert(1) http://"_s, {}, -1},
        {u"http:///no-host"_s, {}, -1},
        {u"http://[broken"_s, {}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const auto link = FindTooltipLink(c.text);
        EXPECT_EQ(link.start, c.start);
        if (c.start >= 0) {
            EXPECT_EQ(link.url, c.url);
            EXPECT_EQ(link.length, c.url.size());
        }
    }
}

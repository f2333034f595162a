#include "net/html_tags.h"
#include "projects/kind6/project6_home_page_checks.h"
#include "tests/support/qstring_printer.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Pages come from anywhere: only a plain client id set up by a script or an ad unit counts, and a sign-up
// form asks for an e-mail address and no password (that would be a sign-in). "(none)": no sign-up form.
TEST(Project6HomePage, AdClientsAndSignUpForms) {
    const QString longId = u"pub-"_s + QString(70, u'1');
    const struct {
        QString page;
        QString client;
        QString action;
    } cases[] = {
        {u"<script>google_ad_client = \"pub-123\";</script>"_s, u"pub-123"_s, u"(none)"_s},
        {u"<SCRIPT type='text/javascript'>if (a<b) x();\nGOOGLE_AD_CLIENT='ca-pub-9';</SCRIPT>"_s,
         u"ca-pub-9"_s, u"(none)"_s},
        {u"<script>var o = {'ad_client' : \"pub-5\"};</script>"_s, u"pub-5"_s, u"(none)"_s},
        {u"<script data-ad-client=\"ca-pub-77\" async src=\"x.js\"></script>"_s, u"ca-pub-77"_s, u"(none)"_s},
        {u"<ins class=\"adsbygoogle\" data-ad-client=\"ca-pub-8\"></ins>"_s, u"ca-pub-8"_s, u"(none)"_s},
        // Not in a script, or not a plain id.
        {u"<p>google_ad_client = \"pub-1\"</p>"_s, u""_s, u"(none)"_s},
        {u"<div data-ad-client=\"ca-pub-3\"></div>"_s, u""_s, u"(none)"_s},
        {u"<script>google_ad_client = adClientFromCookie();</script>"_s, u""_s, u"(none)"_s},
        {u"<script>google_ad_client = \"pub 1\";</script>"_s, u""_s, u"(none)"_s},
        {u"<script>google_ad_client = \"</script><script>\";</script>"_s, u""_s, u"(none)"_s},
        {u"<script>google_ad_client = \""_s + longId + u"\";</script>"_s, u""_s, u"(none)"_s},
        {u"<script>google_ad_client = \"pub-1"_s, u""_s, u"(none)"_s},
        {u"<script>google_ad_client = \""_s, u""_s, u"(none)"_s},
        {u"<script"_s, u""_s, u"(none)"_s},
        // The first value that is an id wins.
        {u"<script>ad_client_note = 'x'; google_ad_client = \"\"; ad_client: \"pub-2\"</script>"_s,
         u"pub-2"_s, u"(none)"_s},
        // Forms.
        {u"<form action=\"/join?a=1&amp;b=2\"><input type=\"email\" name=\"x\"></form>"_s, u""_s,
         u"/join?a=1&b=2"_s},
        {u"<form><input name=\"Newsletter_EMAIL\"></form>"_s, u""_s, u""_s},
        {u"<form action=\"/s\"><input type=\"text\" id=\"e-mail\"></form>"_s, u""_s, u"/s"_s},
        {u"<form action=\"/q\"><input type=\"text\" name=\"q\"></form>"
         u"<form action=\"/list\"><input type=\"EMAIL\"></form>"_s,
         u""_s, u"/list"_s},
        {u"<form action=\"/login\"><input type=\"email\"><input type=\"password\"></form>"_s, u""_s,
         u"(none)"_s},
        {u"<form action=\"/x\"><input type=\"hidden\" name=\"email\"></form>"_s, u""_s, u"(none)"_s},
        {u"<input type=\"email\" name=\"email\">"_s, u""_s, u"(none)"_s},
    };
    for (const auto& c : cases) {
        CDownloader_HTMLTags tree;
        tree.Parse(c.page);
        EXPECT_EQ(FindAdClient(c.page, tree), c.client) << c.page.toStdString();
        bool found = false;
        const QString action = FindSignUpFormAction(tree, found);
        EXPECT_EQ(found ? action : u"(none)"_s, c.action) << c.page.toStdString();
    }
}

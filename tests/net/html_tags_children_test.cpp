#include "html_tags_test_util.h"

#include <gtest/gtest.h>

namespace {

using namespace html_test;

// A saved record: its keys stand directly below it, another record's keys of the same names deeper down.
TEST(HtmlChildren, FindKeysDirectlyBelowTheirOwnerInAnyCase) {
    Node tree = Parse(S(u"\r\n<r><inner><Site>deep</Site><Date>1</Date></inner>site<SITE a='1'>top</SITE>"
                        u"<sitex>x</sitex><date>2</date><date>3</date><open><SITE>again</SITE></r>"));
    Node* r = tree.FindFirst({.tag = S(u"r")});
    ASSERT_NE(r, nullptr);

    const Node* site = std::as_const(*r).FindChild(S(u"site"));
    ASSERT_NE(site, nullptr);
    EXPECT_EQ(site->GetInnerText(false), S(u"top")) << "neither the nested key nor the text of that name";
    EXPECT_EQ(r->FindChild(S(u"Site")), site);
    EXPECT_EQ(r->FindChild(S(u"sit")), nullptr);
    EXPECT_EQ(r->FindChild(S(u"absent")), nullptr);
    // An element whose end tag was lost still names itself.
    ASSERT_NE(r->FindChild(S(u"OPEN")), nullptr);
    EXPECT_TRUE(r->FindChild(S(u"open"))->IsElementNamed(S(u"Open")));
    EXPECT_FALSE(r->GetChildren()[1].IsElementNamed(S(u"site"))) << "a text node is no element";

    const QString names[] = {S(u"DATE"), S(u"site"), S(u"inner"), S(u"missing")};
    const Node* first[std::size(names)];
    r->FindChildren(names, first);
    EXPECT_EQ(first[0], r->FindChild(S(u"date")));
    EXPECT_EQ(first[0]->GetInnerText(false), S(u"2"));
    EXPECT_EQ(first[1], site);
    EXPECT_EQ(first[2], &r->GetChildren()[0]);
    EXPECT_EQ(first[3], nullptr);

    // Names outside ASCII compare by case folding, as Qt compares: a long s is an s, a Kelvin sign a k.
    const Node folded =
        Parse(S(u"<\u017Fite>a</\u017Fite><\u212Aey>b</\u212Aey><stra\u00DFe>c</stra\u00DFe>"));
    const struct {
        const char16_t* name;
        int child;
    } folding[] = {{u"SITE", 0},     {u"\u017FITE", 0},   {u"key", 1},   {u"K\u212AY", -1},
                   {u"STRASSE", -1}, {u"STRA\u1E9Ee", 2}, {u"site ", -1}};
    for (const auto& n : folding) {
        const Node* found = folded.FindChild(S(n.name));
        EXPECT_EQ(found, n.child < 0 ? nullptr : &folded.GetChildren()[std::size_t(n.child)])
            << S(n.name).toStdString();
        for (const Node& child : folded.GetChildren())
            EXPECT_EQ(child.IsElementNamed(S(n.name)),
                      child.GetTagName(false).compare(S(n.name), Qt::CaseInsensitive) == 0);
    }

    // Values the store wrote are found the same way.
    Node built;
    built.AddChild(S(u"Threads"), false)->SetInt(6);
    EXPECT_EQ(built.FindChild(S(u"threads")), &built.GetChildren()[0]);
}

} // namespace

#include "html_tags_test_util.h"

#include <gtest/gtest.h>

namespace {

using namespace html_test;
using ::testing::PrintToString;

QString AttributeOf(const char16_t* page, const char16_t* name) {
    const Node root = Parse(S(page));
    return root.GetChildren().at(0).GetAttribute(S(name));
}

std::vector<QString> Texts(const std::vector<const Node*>& nodes) {
    std::vector<QString> out;
    for (const Node* node : nodes)
        out.push_back(node->GetInnerText(false));
    return out;
}

// --- GetAttribute ---

TEST(HtmlAttribute, ValuesOfTheFirstElement) {
    const char16_t* link = u"<a HREF=\"/x?a=1\" title='T t' data-n=7 target=_blank>x</a>";
    const char16_t* quoted = u"<a title=\"a\\\"b\" x=1>y</a>";
    // Pages with Unix line ends keep a lone LF inside tags; a lone CR survives as well.
    const char16_t* broken = u"<a\nhref=\"x\"\rtitle=y\nid=z>t</a>";
    const struct {
        const char16_t* page;
        const char16_t* name;
        const char16_t* value;
    } cases[] = {
        {link, u"href", u"/x?a=1"},
        {link, u"data-n", u"7"},
        {link, u"rel", u""},
        {u"<a href = \"x\">y</a>", u"href", u""},
        {u"<input checked data-name=a name=q>", u"name", u"q"},
        {u"<input checked name=q>", u"checked", u""},
        {u"<a title=\"it's\" x=1>y</a>", u"title", u"it's"},
        {quoted, u"title", u"a\\\"b"},
        {u"<a title=\"\" x=1>y</a>", u"title", u""},
        {u"<a href=\"?a=1&amp;b=2\">y</a>", u"href", u"?a=1&amp;b=2"},
        {broken, u"href", u"x"},
        {broken, u"id", u"z"},
        {u"href=x<br>", u"href", u""},
        {u"<br>", u"br", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AttributeOf(c.page, c.name), S(c.value))
            << PrintToString(S(c.page)) << " " << S(c.name).toStdString();
    Node holder;
    EXPECT_EQ(holder.AddChild(S(u"<a\thref=x\ttitle=y>"), false)->GetAttribute(S(u"title")), S(u"y"));
}

// --- FindAll and FindFirst ---

TEST(HtmlFind, FirstByTagSearchesAllDepthsInDocumentOrder) {
    const Node root =
        Parse(S(u"<div><p><b>x</b><SPAN id=1>a</span></p><span id=2>b</span></div><span id=3>c</span>"));
    const Node* span = root.FindFirst({.tag = S(u"span")});
    ASSERT_NE(span, nullptr);
    EXPECT_EQ(span->GetAttribute(S(u"id")), S(u"1"));
    const Node* div = root.FindFirst({.tag = S(u"DIV")});
    ASSERT_NE(div, nullptr);
    EXPECT_EQ(div->FindFirst({.tag = S(u"div")}), div); // a match is the node itself
    EXPECT_EQ(div->FindFirst({.tag = S(u"span"), .id = S(u"2")})->GetInnerText(false), S(u"b"));
}

TEST(HtmlFind, AllInDocumentOrderWithoutDescendingIntoMatches) {
    const Node root = Parse(S(u"<div class=r>1<div class=r>inner</div></div><p><div class=r>2</div></p>"));
    std::vector<const Node*> found;
    root.FindAll(found, {.tag = S(u"div"), .className = S(u"r")});
    EXPECT_EQ(Texts(found), (std::vector<QString>{S(u"1inner"), S(u"2")}));
}

TEST(HtmlFind, AttributeCriterionNeedsNonEmptyValue) {
    const Node root = Parse(S(u"<a href=x>1</a><a>2</a><a href=\"\">3</a><p><a HREF=y>4</a></p>"));
    std::vector<const Node*> found;
    root.FindAll(found, {.tag = S(u"a"), .attribute = S(u"href")});
    EXPECT_EQ(Texts(found), (std::vector<QString>{S(u"1"), S(u"4")}));
}

TEST(HtmlFind, ClassMatchesWholeWordsIgnoringCase) {
    const Node root = Parse(S(u"<div class=\"Result  item-big\">x</div>"));
    EXPECT_NE(root.FindFirst({.tag = S(u"div"), .className = S(u"result")}), nullptr);
    EXPECT_NE(root.FindFirst({.tag = S(u"div"), .className = S(u"ITEM-BIG")}), nullptr);
    EXPECT_NE(root.FindFirst({.className = S(u"item-big")}), nullptr);
    EXPECT_EQ(root.FindFirst({.tag = S(u"div"), .className = S(u"item")}), nullptr);
    EXPECT_EQ(root.FindFirst({.tag = S(u"div"), .className = S(u"sult")}), nullptr);
    EXPECT_EQ(root.FindFirst({.tag = S(u"div"), .className = S(u"result item")}), nullptr);
}

TEST(HtmlFind, IdAndNameIgnoreCaseAndAllCriteriaMustHold) {
    const Node root =
        Parse(S(u"<input name=Q id=a class=k><input name=q id=B class=k><input name=q id=b class=z>"));
    std::vector<const Node*> found;
    root.FindAll(found, {.tag = S(u"input"), .className = S(u"k"), .id = S(u"b"), .name = S(u"q")});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], &root.GetChildren()[1]);
    root.FindAll(found, {.name = S(u"q")}, false); // appended to what was found
    EXPECT_EQ(found.size(), 4u);
    root.FindAll(found, {.id = S(u"B")});
    EXPECT_EQ(found.size(), 2u);
}

TEST(HtmlFind, PositionalFormTakesTagClassIdNameAttributeInThatOrder) {
    Node root = Parse(S(u"<b>0</b><b class=c>1</b><b id=c>2</b><b name=c>3</b><b c=x>4</b>"));
    const Node& page = root;
    EXPECT_EQ(page.FindFirst(S(u"b"), S(u"c"))->GetInnerText(false), S(u"1"));
    EXPECT_EQ(page.FindFirst(S(u"b"), {}, S(u"c"))->GetInnerText(false), S(u"2"));
    EXPECT_EQ(page.FindFirst(S(u"b"), {}, {}, S(u"c"))->GetInnerText(false), S(u"3"));
    EXPECT_EQ(root.FindFirst(S(u"b"), {}, {}, {}, S(u"c"))->GetInnerText(false), S(u"4"));
    std::vector<const Node*> found;
    page.FindAll(found, S(u"b"), S(u"c"));
    page.FindAll(found, S(u"b"), {}, {}, {}, S(u"c"), false);
    EXPECT_EQ(Texts(found), (std::vector<QString>{S(u"1"), S(u"4")}));
}

TEST(HtmlFind, ElementAtTheFirstCharacterIsFound) {
    const Node root = Parse(S(u"<div id=top>x</div>"));
    const Node* div = root.FindFirst({.tag = S(u"div")});
    ASSERT_NE(div, nullptr);
    EXPECT_EQ(div->GetSpanStart(), 0);
    EXPECT_EQ(root.FindFirst({.id = S(u"top")}), div);
}

TEST(HtmlFind, RootTextNodesAndBuiltNodesNeverMatch) {
    Node root = Parse(S(u"<p>x</p>"));
    Node* built = root.AddChild(S(u"p"), false);
    built->AddChild(S(u"b"), false);
    std::vector<Node*> found;
    root.FindAll(found, {.tag = S(u"p")});
    EXPECT_EQ(found.size(), 1u);
    EXPECT_EQ(root.FindFirst({.tag = S(u"b")}), nullptr);
    EXPECT_EQ(root.FindFirst(FindCriteria{}),
              &root.GetChildren()[0]); // no criteria: the first parsed element
    EXPECT_EQ(Parse(S(u"text<!-- c -->")).FindFirst(FindCriteria{}), nullptr);
}

// Names are compared as upper-casing gives them, in place or not: every pair of a tag and a wanted name
// matches exactly when the tag's upper-case name is the wanted one upper-cased.
TEST(HtmlFind, TagNamesMatchAsTheirUpperCaseWhateverTheirForm) {
    const QString longName(33, u'k');
    const QString tags[] = {S(u"<item>"),           S(u"<Item//>"),
                            S(u"<ITEM a=1>"),       S(u"<item/>"),
                            S(u"<Item\t/>"),        S(u"<item\u00E9>"),
                            S(u"<\u0131tem>"),      S(u"<\u017Fite>"),
                            S(u"<stra\u00DFe>"),    S(u"<strasse>"),
                            S(u"<a:b-c.d_1>"),      S(u"<ite>"),
                            u'<' + longName + u'>', u'<' + longName.toUpper() + S(u" x=1>"),
                            S(u"<items>")};
    const QString wanted[] = {S(u"item"),    S(u"ITEM"),        S(u"Item"),      S(u"ite"),
                              S(u"items"),   S(u"\u0131tem"),   S(u"site"),      S(u"\u017Fite"),
                              S(u"STRASSE"), S(u"stra\u00DFe"), S(u"a:B-c.D_1"), S(u"item\u00C9"),
                              longName,      longName.left(32), S(u"ITEM ")};
    for (const QString& tag : tags) {
        Node root;
        root.Parse(tag + S(u"x"));
        ASSERT_FALSE(root.GetChildren().empty()) << tag.toStdString();
        const Node& element = root.GetChildren()[0];
        for (const QString& name : wanted) {
            const bool same = element.GetTagName(true) == name.toUpper();
            EXPECT_EQ(element.MatchesTag(name), same) << tag.toStdString() << " " << name.toStdString();
            EXPECT_EQ(root.FindFirst({.tag = name}) == &element, same)
                << tag.toStdString() << " " << name.toStdString();
        }
    }
    Node holder;
    EXPECT_FALSE(holder.AddChild(S(u"item"), false)->MatchesTag(S(u"item"))) << "built nodes never match";
}

// One walk for several names finds, for each, what FindFirst finds: also below another name's match, the
// node itself, and nothing for a missing name.
TEST(HtmlFind, FirstOfEachIsFindFirstForEveryName) {
    const Node root =
        Parse(S(u"<r><e><b>1</b><E>2</E></e>x<c><b>3</b><d/></c><\u017Fite>4</\u017Fite></r><b>5</b>"));
    const Node* r = root.FindFirst({.tag = S(u"r")});
    const Node* c = root.FindFirst({.tag = S(u"c")});
    ASSERT_TRUE(r && c);
    const QString names[] = {S(u"B"), S(u"e"), S(u"d"), S(u"missing"), S(u"r"), S(u"SITE"), S(u"c"), S(u"b")};
    for (const Node* top : {&root, r, c}) {
        const Node* first[std::size(names)];
        top->FindFirstOfEach(names, first);
        for (std::size_t i = 0; i < std::size(names); ++i)
            EXPECT_EQ(first[i], top->FindFirst({.tag = names[i]})) << names[i].toStdString();
    }
}

// --- GetInnerText ---

TEST(HtmlInnerText, RawTextElementsAndCommentsGiveNothing) {
    const Node root = Parse(S(u"<div>a<script>var x;</script>b<style>p{}</style><noscript>n</noscript>"
                              "<!-- c -->c</div>"));
    EXPECT_EQ(root.GetInnerText(false), S(u"abc"));
    // An element holding a single text gives it, unless the element's content is raw text.
    const Node values = Parse(S(u"<v>one</v><script>two</script><v><!-- three --></v><v></v>"));
    const QString expected[] = {S(u"one"), QString(), QString(), QString()};
    ASSERT_EQ(values.GetChildren().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(values.GetChildren()[i].GetInnerText(false), expected[i]) << i;
}

TEST(HtmlInnerText, LineBreaksAndSeparatingSpaces) {
    const Node root = Parse(S(u"<p>a<br>b</p>"));
    EXPECT_EQ(root.GetInnerText(false), S(u"ab"));
    EXPECT_EQ(root.GetInnerText(true), S(u"a \r\nb "));
    const Node spans = Parse(S(u"<div><span>a</span><span>b </span><span></span><span>c</span></div>"));
    EXPECT_EQ(spans.GetInnerText(true), S(u"a b c "));
    EXPECT_EQ(spans.GetInnerText(false), S(u"ab c"));
}

TEST(HtmlInnerText, ExcludedTagsAreLeftOut) {
    const Node root = Parse(S(u"<div>x<cite>y</cite><table><tr><td>z</td></tr></table>w<br></div>"));
    EXPECT_EQ(root.GetInnerText(false, S(u" cite TABLE ")), S(u"xw"));
    EXPECT_EQ(root.GetInnerText(false, S(u" CIT ")), S(u"xyzw"));
    // A BR excluded gives no line break either.
    EXPECT_EQ(root.GetInnerText(true, S(u" BR ")), S(u"x y z w "));
    // The root has no name, so a list with a double blank does not blank the whole page.
    EXPECT_EQ(root.GetInnerText(false, S(u" CITE  TABLE ")), S(u"xw"));
}

// --- ParseJsStringList ---

TEST(HtmlJsList, ItemsOfAnArgumentList) {
    const struct {
        const char16_t* text;
        QStringList items;
        const char* note;
    } cases[] = {
        {u"'a','b','c'", {S(u"a"), S(u"b"), S(u"c")}, "quoted"},
        {u"\"x\" , ' y ' ,  z , 12", {S(u"x"), S(u" y "), S(u"z"), S(u"12")}, "mixed and bare"},
        {u"a,,b", {S(u"a"), QString(), S(u"b")}, "empty item"},
        {u"\"a\",\"b\");\r\n", {S(u"a"), S(u"b")}, "call end removed"},
        {u"1,2));;", {S(u"1"), S(u"2")}, "repeated call end removed"},
        {u"'it\\'s','b'", {S(u"it\\'s"), S(u"b")}, "escape skipped, not decoded"},
        {u"a\\,b,c", {S(u"a\\,b"), S(u"c")}, "escaped comma"},
        {u"'a' junk,'b'", {S(u"a"), S(u"b")}, "text after the closing quote"},
        {u"\"a'b'c\",d", {S(u"b"), S(u"d")}, "other quote restarts the item"},
        {u"'a','b", {S(u"a")}, "unclosed quote"},
        {u"\"it's\"", {}, "unclosed after restart"},
        {u"", {QString()}, "empty text"},
    };
    for (const auto& c : cases) {
        QStringList out{S(u"stale")};
        ParseJsStringList(out, S(c.text));
        EXPECT_EQ(out, c.items) << c.note;
    }
}

} // namespace

#include "html_tags_test_util.h"

#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <utility>

namespace {

using namespace html_test;
using ::testing::PrintToString;

// --- the tree a page gives: nesting, implicit closes, sections, normalisation ---

struct TreeCase {
    const char16_t* page;
    const char16_t* tree; // as dump() writes it
    const char* note;
};

TEST(HtmlParseStructure, PagesGiveTheirTrees) {
    const TreeCase cases[] = {
        {u"<p>a<br>b</p>", u"<p>{'a'<br>{}'b'}", "void element inside a paragraph"},
        {u"<ul><li>one<li>two</ul>", u"<ul>{<li>{'one'}<li>{'two'}}", "second item closes the first"},
        {u"<a href=1>x<a href=2>y<br>", u"<a href=1>{'x'}<a href=2>'y'<br>{}", "second link stays open"},
        // The B moved into the first link is no longer at the root level, so its end tag closes the second.
        {u"<a>x<b>y<a>z</b>w<br>", u"<a>{'x'<b>'y'}<a>{'z'}'w'<br>{}",
         "implicit close takes open ones along"},
        {u"<li>a<ul><li>b</ul>", u"<li>'a'<ul>{<li>{'b'}}", "item does not reach past an open list"},
        {u"<li>a<OL></ol><li>b<br>", u"<li>'a'<OL>{}<li>'b'<br>{}", "nor past a closed one"},
        {u"<div><a>x</div><a>y<br>", u"<div>{<a>{'x'}}<a>'y'<br>{}",
         "link closed inside is not closed again"},
        {u"<div>a<span>b</DIV>c<br>", u"<div>{'a'<span>{'b'}}'c'<br>{}", "end tag closes back to its name"},
        {u"<div>1<span>2<b>3</i>", u"<div>{'1'<span>{'2'<b>{'3'}}}", "unmatched end tag closes all"},
        {u"<br>a</p>b<br>", u"<br>{}'a''b'<br>{}", "stray end tag with nothing open"},
        {u"<!DOCTYPE html><html><body>x</body></html>", u"<!DOCTYPE html><html>{<body>{'x'}}", "doctype"},
        {u"<div/>x<img src=a>y<hr/>", u"<div/>{}'x'<img src=a>{}'y'<hr/>{}", "self-closing"},
        {u"a < b <1> c<br>", u"'a < b <1> c'<br>{}", "'<' without a tag start"},
        {u"<\u00e9t\u00e9>x</\u00c9T\u00c9>", u"<\u00e9t\u00e9>{'x'}", "non-Latin letters and case"},
        {u"<\U0001D400>x<br>", u"<\U0001D400>'x'<br>{}", "astral letter opens a tag"},
        {u"<\u2603>x<br>", u"'<\u2603>x'<br>{}", "a symbol does not"},
        {u"<p>a</p>before<div never ends <b", u"<p>{'a'}'before'", "unended tag drops the rest"},
        {u"no tags at all", u"", "text alone"},
        {u"<a title=\"x>y\">z</a>", u"<a title=\"x>{'y\">z'}", "quotes not tracked in tags"},
        {u"<script>if (a<b) x = \"<p>\";</script>", u"<script>{'if (a'<b) x = \"<p>{'\";'}}", "script"},
        {u"<DiV>x</dIv><Li>a<LI>b<br>", u"<DiV>{'x'}<Li>{'a'}<LI>'b'<br>{}", "names ignore case"},
        {u"<div>a<span>b</span >c</DIV\t>d<br>", u"<div>{'a'<span>{'b'}'c'}'d'<br>{}", "blanks before '>'"},
        {u"<b-1.x:y_z>a</B-1.X:Y_Z>b<br>", u"<b-1.x:y_z>{'a'}'b'<br>{}", "names of more than letters"},
        {u"<abcdefghijklmnopqrstuvwxyz0123456789>a</ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789>b<br>",
         u"<abcdefghijklmnopqrstuvwxyz0123456789>{'a'}'b'<br>{}", "names longer than 32 characters"},
        {u"<p>a<br>b</br>c</p>", u"<p>{'a'<br>{}'b'</br>{}'c'}", "an end tag of a void name is an element"},
        // Comments, CDATA and processing instructions.
        {u"<!--  word  -->", u"!' word '", "comment text node, folded"},
        {u"<!----><br>", u"<br>{}", "empty comment"},
        {u"<!--><br>", u"<br>{}", "comment shorter than its markers"},
        {u"<!---><br>", u"<br>{}", "comment one short of its markers"},
        {u"<!-->x--><br>", u"'x-->'<br>{}", "short comment ends at its own marker"},
        {u"<!-- <b>x</b> --><br>", u"!' <b>x</b> '<br>{}", "comment hides markup"},
        {u"<![CDATA[a &amp; <b>]]>", u"'a & <b>'", "CDATA is decoded text, not a comment"},
        {u"<p>a</p>x<!-- never <b>y</b>", u"<p>{'a'}'x'", "unterminated comment"},
        {u"<p>a</p>x<?php never <b>y</b>", u"<p>{'a'}'x'", "unterminated instruction"},
        {u"<?a x>y?><br>", u"<?a x>y?><br>{}", "instruction runs to its own end"},
        // Normalisation.
        {u"<p>a\t\tb  c\r\n\r\nd</p>", u"<p>{'a b c d'}", "white-space runs"},
        {u"<p>a\nb\rc\r\r\nd</p>", u"<p>{'a\nb\rc\r d'}", "lone line breaks stay"},
        {u"<p>\r\n   <b>x</b>\r\n\t</p>", u"<p>{' '<b>{'x'}' '}", "line break and indentation between tags"},
        {u"<p> \r\n\t \r\n<b>x</b>\n   </p>", u"<p>{' '<b>{'x'}'\n '}", "spaces, TABs and CR LF only"},
        {u"<p>\r\n   &amp;<b>x</b>\r\n  x</p>", u"<p>{' &'<b>{'x'}' x'}", "a run that is not all blanks"},
        {u"<a\thref=\"?a=1&amp;b\"\r\n   class=x>&amp;</a>", u"<a href=\"?a=1&amp;b\" class=x>{'&'}",
         "tag text folded, not decoded"},
        {u"<p>&#0;</p>", u"<p>{}", "text that decodes to nothing"},
        {u"&lt;b&gt; text<br>", u"'<b> text'<br>{}", "decoded text is no tag"},
    };
    for (const TreeCase& c : cases) {
        SCOPED_TRACE(c.note);
        EXPECT_EQ(DumpParsed(S(c.page)), S(c.tree));
    }
}

TEST(HtmlParseStructure, ReparseEmptiesTheRoot) {
    Node root = Parse(S(u"<p>old</p>"));
    root.Parse(QString());
    EXPECT_TRUE(root.GetChildren().empty());
    EXPECT_TRUE(root.GetText().isEmpty());
    EXPECT_FALSE(root.IsClosed());
}

// --- GetTagName ---

TEST(HtmlTagName, RulesOnTagTexts) {
    const struct {
        const char16_t* tag;
        bool upper;
        const char16_t* name;
    } cases[] = {
        {u"</p>", true, u"P"},
        {u"<!-- x -->", false, u"!--"},
        {u"<?xml v='1'?>", false, u"?xml"},
        {u"<a\thref=x>", true, u"A"},
        {u"<div\"x\">", false, u"div"},
        {u"<stra\u00dfe>", true, u"STRASSE"},
        {u"<>", false, u""},
        {u"<abc", false, u""},
        {u"<//>", false, u""},
        {u"plain", false, u"plain"},
        {u"<h1 class=x>", true, u"H1"},
        {u"</my_t-2:x.y>", true, u"MY_T-2:X.Y"},
        {u"</br/>", true, u"BR"},
        {u"< kw >", false, u""},
        {u"<kw\r\n/>", true, u"KW"},
        {u"<kw/>", true, u"KW"},
        {u"<kw", true, u""},
        {u"<k\u00e9y>", true, u"K\u00c9Y"},
        {u"<kw@x>", true, u"KW@X"},
    };
    Node holder;
    for (const auto& c : cases)
        EXPECT_EQ(holder.AddChild(S(c.tag), false)->GetTagName(c.upper), S(c.name))
            << PrintToString(S(c.tag));
    EXPECT_EQ(Parse(S(u"&lt;b&gt; text<br>")).GetChildren()[0].GetTagName(true), QString());
    // Names as long as a name held in place, and one longer.
    const QString held(32, u'k'), longer(33, u'k');
    EXPECT_EQ(holder.AddChild(u'<' + held + u'>', false)->GetTagName(true), held.toUpper());
    EXPECT_EQ(holder.AddChild(u'<' + longer + S(u" x>"), false)->GetTagName(true), longer.toUpper());
    EXPECT_EQ(DumpParsed(u'<' + longer + S(u">x</") + longer.toUpper() + S(u"><br>")),
              u'<' + longer + S(u">{'x'}<br>{}"));
}

// The fixed lists hold names as upper-casing gives them, whatever script the tag was written in; a name only
// looks like a listed one when it is one.
TEST(HtmlTagName, ListedNamesAfterUpperCasing) {
    using namespace std::string_view_literals;
    const struct {
        std::u16string_view page;
        std::u16string_view tree;
    } cases[] = {
        {u"<img>x<i>"sv, u"<img>{}'x'<i>"sv},
        {u"<\u0131mg>x<i>"sv, u"<\u0131mg>{}'x'<i>"sv}, // a dotless i upper-cases to I
        {u"<l\u0131>a<l\u0131>b<i>"sv, u"<l\u0131>{'a'}<l\u0131>'b'<i>"sv},
        {u"<imgx>x<i>"sv, u"<imgx>'x'<i>"sv},
        {u"<im\u0000g>x<i>"sv, u"<im\u0000g>'x'<i>"sv},
        {u"<basefonts>x<i>"sv, u"<basefonts>'x'<i>"sv},
        {u"<BaseFont>x<i>"sv, u"<BaseFont>{}'x'<i>"sv},
        {u"<optionx>a<optionx>b<i>"sv, u"<optionx>'a'<optionx>'b'<i>"sv},
    };
    const auto text = [](std::u16string_view view) {
        return QString::fromUtf16(view.data(), qsizetype(view.size()));
    };
    for (const auto& c : cases)
        EXPECT_EQ(DumpParsed(text(c.page)), text(c.tree)) << PrintToString(text(c.page));
    // A long s upper-cases to S: such a script still gives no inner text.
    EXPECT_EQ(Parse(S(u"<p>a<\u017Fcript>b</\u017Fcript>c</p>")).GetInnerText(false), S(u"ac"));
}

// --- DecodeHtmlEntities ---

TEST(HtmlEntities, ReferencesDecode) {
    const QString replacement = S(u"\uFFFD");
    const struct {
        const char16_t* text;
        QString decoded;
        const char* note;
    } cases[] = {
        {u"&nbsp;&quot;&gt;&lt;&amp;", S(u" \"><&"), "the five named ones"},
        {u"&copy; &AMP; &Lt; &nbsp", S(u"&copy; &AMP; &Lt; &nbsp"), "others, other case, no semicolon"},
        {u"&#x41;", S(u"&#x41;"), "hexadecimal is not read"},
        {u"&# 65;&#+66;&#67abc;", S(u"ABC"), "leading number like atoi"},
        {u"&#abc;", S(u"&#abc;"), "no number"},
        {u"&#65 x;y", S(u"Ay"), "runs to the next semicolon"},
        {u"&#65", S(u"&#65"), "no semicolon"},
        {u"&amp;#65;", S(u"&#65;"), "ampersand decodes last"},
        {u"&amp;amp;", S(u"&amp;"), "ampersand decodes once"},
        {u"&#38;amp;", S(u"&amp;"), "produced text is not read again"},
        {u"&#38;#65; and &#38;#65;", S(u"&#65; and &#65;"), "nor twice"},
        {u"&am&#112;;", S(u"&amp;"), "nor joined to what stood before"},
        {u"&#128512;", S(u"\U0001F600"), "beyond 16 bits"},
        {u"&#65601;", S(u"\U00010041"), "not the low 16 bits"},
        {u"&#55357;", replacement, "high surrogate"},
        {u"&#1114112;", replacement, "above the highest"},
        {u"&#-65;", replacement, "negative"},
        {u"&#99999999999999999999999;", replacement, "overflowing"},
        {u"a&#0;b", S(u"ab"), "zero removes the reference"},
        {u"&#0;&#65;&#-0;", S(u"A"), "and decoding goes on"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.note);
        EXPECT_EQ(DecodeHtmlEntities(S(c.text)), c.decoded);
        // A text node decodes the same after folding, here a leading tab into one space.
        const Node root = Parse(S(u"<p>\t") + S(c.text) + S(u"<i>"));
        ASSERT_EQ(root.GetChildren().size(), 3u);
        EXPECT_EQ(root.GetChildren()[1].GetText(), u' ' + c.decoded);
    }
}

TEST(HtmlEntities, ManyAmpersandsWithoutSemicolonStayAsTheyAre) {
    QString text;
    for (int i = 0; i < 200000; ++i)
        text += u"&#1 ";
    EXPECT_EQ(DecodeHtmlEntities(text), text);
    EXPECT_EQ(DecodeHtmlEntities(text + S(u";")), S(u"\u0001"));
}

// --- agreement with a plain reading of the folding rules ---

// The folding and implicit-close rules written the simple way: backward scans over the root's children.
// Random tag soup must give exactly the same tree as the parser's index stacks.
struct RefNode {
    QString text;
    bool closed = false;
    bool isText = false;
    std::vector<RefNode> children;
};

QString RefName(const RefNode& node) {
    return node.isText ? QString() : node.text.toUpper().mid(1).remove(u'>').remove(u'/');
}

// Closes root[k] around everything after it.
void RefFold(std::vector<RefNode>& root, std::size_t k) {
    root[k].closed = true;
    for (std::size_t j = k + 1; j < root.size(); ++j)
        root[k].children.push_back(std::move(root[j]));
    root.resize(k + 1);
}

QString RefDump(const std::vector<RefNode>& nodes) {
    QString out;
    for (const RefNode& node : nodes)
        if (node.isText)
            out += u'\'' + node.text + u'\'';
        else
            out += node.closed ? node.text + u'{' + RefDump(node.children) + u'}' : node.text;
    return out;
}

TEST(HtmlParseAgreement, RandomTagSoupFoldsLikeBackwardScans) {
    std::mt19937 random(1249);
    const char16_t* names[] = {u"a", u"A", u"li", u"Li", u"option", u"ul", u"OL", u"div", u"b", u"p"};
    for (int round = 0; round < 3000; ++round) {
        QString page;
        std::vector<RefNode> root;
        bool lastWasText = false;
        for (int t = 0, length = 1 + int(random() % 80); t < length; ++t) {
            const int kind = int(random() % 100);
            const QString name = S(names[random() % std::size(names)]);
            const QString wanted = name.toUpper();
            if (kind < 25 && !lastWasText) {
                root.push_back({u't' + QString::number(t), false, true, {}});
                page += root.back().text;
                lastWasText = true;
                continue;
            }
            lastWasText = false;
            if (kind < 50) { // an end tag closes the open elements back to its own name
                page += S(u"</") + name + u'>';
                for (std::size_t k = root.size(); k-- > 0;) {
                    if (root[k].isText || root[k].closed)
                        continue;
                    const bool match = RefName(root[k]) == wanted;
                    RefFold(root, k);
                    if (match)
                        break;
                }
                continue;
            }
            if (kind < 60) { // self-closing and void elements
                root.push_back({kind < 56 ? u'<' + name + S(u"/>") : S(u"<br>"), true, false, {}});
                page += root.back().text;
                continue;
            }
            if (wanted == u"A" || wanted == u"LI" || wanted == u"OPTION") {
                for (std::size_t k = root.size(); k-- > 0;) {
                    const QString have = RefName(root[k]);
                    if (wanted == u"LI" && (have == u"UL" || have == u"OL"))
                        break;
                    if (!root[k].isText && !root[k].closed && have == wanted) {
                        RefFold(root, k);
                        break;
                    }
                }
            }
            root.push_back({u'<' + name + u'>', false, false, {}});
            page += root.back().text;
        }
        if (lastWasText)
            root.pop_back(); // text after the last tag is dropped
        ASSERT_EQ(DumpParsed(page), RefDump(root)) << page.toStdString();
    }
}

// --- hostile input: depth, width, and the tree operations on it ---

TEST(HtmlParseHostile, DeepNestingFromOneStrayEndTag) {
    constexpr int kDepth = 100000;
    Node root = Parse(S(u"<div>").repeated(kDepth) + S(u"deep</x>"));
    EXPECT_EQ(DepthOf(root), kDepth + 1); // the text sits below the innermost DIV

    std::vector<const Node*> found;
    std::as_const(root).FindAll(found, {.tag = S(u"div")});
    EXPECT_EQ(found.size(), 1u);
    EXPECT_EQ(root.FindFirst({.tag = S(u"div"), .className = S(u"c")}), nullptr);
    EXPECT_EQ(root.GetInnerText(true), S(u"deep "));

    const Node copy(root);
    EXPECT_EQ(DumpWithSpans(copy), DumpWithSpans(root));
    // Re-parsing releases the deep tree; assignment and destruction at the end of the test do too.
    root.Parse(S(u"<b>x</b>"));
    EXPECT_EQ(Dump(root), S(u"<b>{'x'}"));
    root = copy;
    EXPECT_EQ(DepthOf(root), kDepth + 1);
}

TEST(HtmlParseHostile, DeepTreeMovedOutOfItsOwnSubtree) {
    Node root = Parse(S(u"<div>").repeated(50000) + S(u"</x>"));
    Node inner = root.GetChildren()[0].GetChildren()[0];
    root = std::move(root.GetChildren()[0].GetChildren()[0]);
    EXPECT_EQ(DumpWithSpans(root), DumpWithSpans(inner));
    root = root.GetChildren()[0];
    EXPECT_EQ(DepthOf(root), 49997);
}

// Each link closes the one before; the last stays open with its text and B after it.
TEST(HtmlParseHostile, WideTreesStayFlat) {
    constexpr int kCount = 100000;
    const Node links = Parse(S(u"<a href=x>t<b>").repeated(kCount) + S(u"<br>"));
    ASSERT_EQ(links.GetChildren().size(), std::size_t(kCount + 3));
    EXPECT_EQ(Dump(links.GetChildren()[0]), S(u"'t'<b>"));
    EXPECT_FALSE(links.GetChildren()[kCount - 1].IsClosed());
    const Node list = Parse(S(u"<ul>") + S(u"<li>x").repeated(kCount) + S(u"</ul>"));
    EXPECT_EQ(list.GetChildren().at(0).GetChildren().size(), std::size_t(kCount));
    EXPECT_EQ(Parse(S(u"</p><!--><!---><?>").repeated(50000) + S(u"<br>")).GetChildren().size(), 50001u);
}

// --- copies ---

TEST(HtmlTreeCopy, CopiesAreDeepAndEqual) {
    const Node original = Parse(S(u"<div class=a>x<!-- c --><ul><li>1<li>2</ul><br>&amp;<p>y</div><a>z<br>"));
    const QString before = DumpWithSpans(original);
    Node copy(original);
    Node assigned = Parse(S(u"<b>old</b>"));
    assigned = original;
    EXPECT_EQ(DumpWithSpans(copy), before);
    EXPECT_EQ(DumpWithSpans(assigned), before);
    copy.GetChildren()[0].SetText(S(u"changed"));
    EXPECT_EQ(DumpWithSpans(original), before);
}

TEST(HtmlTreeCopy, AssignFromOwnDescendantAndSelf) {
    Node root = Parse(S(u"<div><p>a<b>b</b></p></div>"));
    root = root.GetChildren()[0];
    EXPECT_EQ(root.GetText(), S(u"<div>"));
    EXPECT_EQ(Dump(root), S(u"<p>{'a'<b>{'b'}}"));
    Node& self = root;
    root = self;
    EXPECT_EQ(Dump(root), S(u"<p>{'a'<b>{'b'}}"));
}

TEST(HtmlTreeCopy, ParseOfOwnTextIsSafe) {
    Node root = Parse(S(u"<p>a</p>"));
    Node& p = root.GetChildren()[0];
    p.Parse(p.GetText() + S(u"<i>x</i>"));
    EXPECT_EQ(Dump(p), S(u"<p><i>{'x'}"));
    EXPECT_TRUE(p.GetText().isEmpty());
    root.Parse(root.GetChildren()[0].GetChildren()[0].GetText());
    EXPECT_EQ(Dump(root), S(u"<p>"));
}

// --- texts point into the page: they must outlive it, follow their nodes anywhere, and read as folded ---

TEST(HtmlNodeTexts, OutliveThePageAndTravelWithTheirNodes) {
    Node root;
    {
        QString page = S(u"<div id=a>one  two<!-- c --><p>x&amp;y</p><br></div><i>tail</i>");
        root.Parse(page);
        page.fill(u'#'); // the caller's copy changes; the tree's does not
    }
    const QString expected = S(u"<div id=a>{'one two'!' c '<p>{'x&y'}<br>{}}<i>{'tail'}");
    EXPECT_EQ(Dump(root), expected);
    // A subtree copied out, a node moved into another tree: both stay readable once the page's tree is gone.
    auto copy = std::make_unique<Node>(root.GetChildren()[0]);
    Node other = Parse(S(u"<b>b</b>"));
    other.GetChildren().push_back(std::move(root.GetChildren()[1]));
    root = Node();
    EXPECT_EQ(Dump(*copy), S(u"'one two'!' c '<p>{'x&y'}<br>{}"));
    EXPECT_TRUE(copy->IsClosed() && copy->GetChildren()[1].IsComment() && copy->GetChildren()[3].IsClosed());
    EXPECT_EQ(Dump(other), S(u"<b>{'b'}<i>{'tail'}"));
    // Characters the string does not own are copied: the tree does not depend on them staying.
    char16_t raw[] = u"<p>raw</p>";
    root.Parse(QString::fromRawData(reinterpret_cast<const QChar*>(raw), 10));
    std::fill(std::begin(raw), std::end(raw), u'x');
    EXPECT_EQ(Dump(root), S(u"<p>{'raw'}"));
    // A node's flags stay when its text is replaced.
    Node comment = Parse(S(u"<!--  a  -->")).GetChildren()[0];
    comment.Normalize();
    EXPECT_TRUE(comment.IsTextNode() && comment.IsComment());
    EXPECT_EQ(comment.GetText(), S(u" a "));
}

// Texts the parser changes are kept one after another in blocks: many of them, and one longer than a block.
TEST(HtmlNodeTexts, ManyChangedTextsAndOneLongerThanABlock) {
    QString page;
    for (int i = 0; i < 20000; ++i)
        page += S(u"<b>") + QString::number(i) + S(u"  x</b>");
    const QString longText = QString(100000, u'y') + u'\t' + QString(100000, u'z');
    page += S(u"<p>") + longText + S(u"</p>");
    const Node root = Parse(page);
    ASSERT_EQ(root.GetChildren().size(), 20001u);
    for (int i = 0; i < 20000; i += 997)
        EXPECT_EQ(root.GetChildren()[size_t(i)].GetChildren()[0].GetText(), QString::number(i) + S(u" x"));
    EXPECT_EQ(root.GetChildren().back().GetChildren()[0].GetText(),
              QString(100000, u'y') + u' ' + QString(100000, u'z'));
}

// Folding, entities and the end of a text or tag found eight characters at a time: each special character
// at every position within and across those steps.
TEST(HtmlNodeTexts, FoldingAndEntitiesAtEveryPosition) {
    const struct {
        const char16_t* piece;
        const char16_t* read;
    } pieces[] = {{u"  ", u" "},    {u"\r\n", u" "}, {u"\t", u" "},
                  {u"&amp;", u"&"}, {u"&lt;", u"<"}, {u"\r", u"\r"}};
    for (const auto& piece : pieces) {
        const QString special = S(piece.piece), read = S(piece.read);
        const bool entity = special.startsWith(u'&');
        for (int before = 0; before < 20; ++before) {
            for (int after = 0; after < 11; ++after) {
                const QString a(before, u'a'), b(after, u'b');
                const Node root =
                    Parse(S(u"<p class=\"") + a + special + b + S(u"\">") + a + special + b + S(u"</p>"));
                SCOPED_TRACE(PrintToString(a + special + b));
                ASSERT_EQ(root.GetChildren().size(), 1u);
                const Node& p = root.GetChildren()[0];
                // Tags fold white space but keep entities.
                EXPECT_EQ(p.GetText(), S(u"<p class=\"") + a + (entity ? special : read) + b + S(u"\">"));
                ASSERT_EQ(p.GetChildren().size(), 1u);
                EXPECT_EQ(p.GetChildren()[0].GetText(), a + read + b);
            }
        }
    }
}

} // namespace

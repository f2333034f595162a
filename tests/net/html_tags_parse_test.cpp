#include "html_tags_test_util.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <utility>

namespace {

using namespace html_test;

// --- structure: nesting by end tags, void and self-closing elements, implicit closes ---

TEST(HtmlParseStructure, EmptyInputGivesEmptyRoot) {
    Node root = parse(s(u"<p>old</p>"));
    root.Parse(QString());
    EXPECT_TRUE(root.GetChildren().empty());
    EXPECT_TRUE(root.GetText().isEmpty());
    EXPECT_FALSE(root.IsClosed());
}

TEST(HtmlParseStructure, VoidElementInsideParagraph) {
    EXPECT_EQ(dumpParsed(s(u"<p>a<br>b</p>")), s(u"<p>{'a'<br>{}'b'}"));
}

TEST(HtmlParseStructure, SecondListItemClosesFirstAndListEndClosesBoth) {
    EXPECT_EQ(dumpParsed(s(u"<ul><li>one<li>two</ul>")), s(u"<ul>{<li>{'one'}<li>{'two'}}"));
}

TEST(HtmlParseStructure, SecondLinkClosesFirstAndStaysOpen) {
    EXPECT_EQ(dumpParsed(s(u"<a href=1>x<a href=2>y<br>")), s(u"<a href=1>{'x'}<a href=2>'y'<br>{}"));
}

TEST(HtmlParseStructure, ImplicitCloseTakesOpenElementsAlongAndTheyStayOpen) {
    // The B moved into the first link is no longer at the root level, so the B end tag cannot reach it
    // and closes the second link instead.
    EXPECT_EQ(dumpParsed(s(u"<a>x<b>y<a>z</b>w<br>")), s(u"<a>{'x'<b>'y'}<a>{'z'}'w'<br>{}"));
}

TEST(HtmlParseStructure, ListItemDoesNotReachPastAListOpenOrClosed) {
    EXPECT_EQ(dumpParsed(s(u"<li>a<ul><li>b</ul>")), s(u"<li>'a'<ul>{<li>{'b'}}"));
    EXPECT_EQ(dumpParsed(s(u"<li>a<OL></ol><li>b<br>")), s(u"<li>'a'<OL>{}<li>'b'<br>{}"));
}

TEST(HtmlParseStructure, OptionsCloseEachOther) {
    EXPECT_EQ(dumpParsed(s(u"<select><option>a<option>b</select>")),
              s(u"<select>{<option>{'a'}<option>{'b'}}"));
}

TEST(HtmlParseStructure, LinkClosedInsideAnElementIsNotClosedAgain) {
    EXPECT_EQ(dumpParsed(s(u"<div><a>x</div><a>y<br>")), s(u"<div>{<a>{'x'}}<a>'y'<br>{}"));
}

TEST(HtmlParseStructure, EndTagClosesBackToNearestOpenElementOfItsName) {
    EXPECT_EQ(dumpParsed(s(u"<div>a<span>b</DIV>c<br>")), s(u"<div>{'a'<span>{'b'}}'c'<br>{}"));
}

TEST(HtmlParseStructure, UnmatchedEndTagClosesEveryOpenElementLastFirst) {
    EXPECT_EQ(dumpParsed(s(u"<div>1<span>2<b>3</i>")), s(u"<div>{'1'<span>{'2'<b>{'3'}}}"));
}

TEST(HtmlParseStructure, StrayEndTagWithNothingOpenIsDropped) {
    EXPECT_EQ(dumpParsed(s(u"<br>a</p>b<br>")), s(u"<br>{}'a''b'<br>{}"));
}

TEST(HtmlParseStructure, UnclosedDeclarationsStayChildlessSiblings) {
    EXPECT_EQ(dumpParsed(s(u"<!DOCTYPE html><html><body>x</body></html>")),
              s(u"<!DOCTYPE html><html>{<body>{'x'}}"));
    EXPECT_EQ(dumpParsed(s(u"<?xml version=\"1.0\"?><r>x</r>")), s(u"<?xml version=\"1.0\"?><r>{'x'}"));
}

TEST(HtmlParseStructure, SelfClosingElements) {
    EXPECT_EQ(dumpParsed(s(u"<div/>x<img src=a>y<hr/>")), s(u"<div/>{}'x'<img src=a>{}'y'<hr/>{}"));
}

TEST(HtmlParseStructure, LessThanNotFollowedByTagStartIsText) {
    EXPECT_EQ(dumpParsed(s(u"a < b <1> c<br>")), s(u"'a < b <1> c'<br>{}"));
    EXPECT_EQ(dumpParsed(s(u"x > y<br>")), s(u"'x > y'<br>{}"));
}

TEST(HtmlParseStructure, LetterTestCoversOtherScripts) {
    EXPECT_EQ(dumpParsed(s(u"<\u00e9t\u00e9>x</\u00c9T\u00c9>")), s(u"<\u00e9t\u00e9>{'x'}"));
    // An astral letter (MATHEMATICAL BOLD A) also opens a tag.
    EXPECT_EQ(dumpParsed(s(u"<\U0001D400>x<br>")), s(u"<\U0001D400>'x'<br>{}"));
    EXPECT_EQ(dumpParsed(s(u"<\u2603>x<br>")), s(u"'<\u2603>x'<br>{}"));
}

TEST(HtmlParseStructure, TagThatNeverEndsDropsTheRest) {
    EXPECT_EQ(dumpParsed(s(u"<p>a</p>before<div never ends <b")), s(u"<p>{'a'}'before'"));
}

TEST(HtmlParseStructure, TextAfterTheLastTagIsDropped) {
    EXPECT_EQ(dumpParsed(s(u"<b>bold</b>tail")), s(u"<b>{'bold'}"));
    EXPECT_TRUE(parse(s(u"no tags at all")).GetChildren().empty());
}

TEST(HtmlParseStructure, QuotesAreNotTrackedInsideTags) {
    EXPECT_EQ(dumpParsed(s(u"<a title=\"x>y\">z</a>")), s(u"<a title=\"x>{'y\">z'}"));
}

TEST(HtmlParseStructure, ScriptContentIsParsedLikeText) {
    EXPECT_EQ(dumpParsed(s(u"<script>if (a<b) x = \"<p>\";</script>")),
              s(u"<script>{'if (a'<b) x = \"<p>{'\";'}}"));
}

TEST(HtmlParseStructure, ElementNamesCompareIgnoringCase) {
    EXPECT_EQ(dumpParsed(s(u"<DiV>x</dIv><Li>a<LI>b<br>")), s(u"<DiV>{'x'}<Li>{'a'}<LI>'b'<br>{}"));
}

// --- comments, CDATA sections, processing instructions ---

TEST(HtmlParseSections, CommentBecomesCommentTextNode) {
    const Node root = parse(s(u"<!--  word  -->"));
    ASSERT_EQ(root.GetChildren().size(), 1u);
    const Node& comment = root.GetChildren()[0];
    EXPECT_TRUE(comment.IsTextNode());
    EXPECT_TRUE(comment.IsComment());
    EXPECT_FALSE(comment.IsClosed());
    EXPECT_EQ(comment.GetText(), s(u" word "));
}

TEST(HtmlParseSections, EmptyAndTooShortCommentsLeaveNothing) {
    EXPECT_EQ(dumpParsed(s(u"<!----><br>")), s(u"<br>{}"));
    EXPECT_EQ(dumpParsed(s(u"<!--><br>")), s(u"<br>{}"));
    EXPECT_EQ(dumpParsed(s(u"<!---><br>")), s(u"<br>{}"));
    // The short comment ends at its own "-->" marker; what follows is text.
    EXPECT_EQ(dumpParsed(s(u"<!-->x--><br>")), s(u"'x-->'<br>{}"));
}

TEST(HtmlParseSections, CommentHidesMarkup) {
    EXPECT_EQ(dumpParsed(s(u"<!-- <b>x</b> --><br>")), s(u"!' <b>x</b> '<br>{}"));
}

TEST(HtmlParseSections, CdataIsDecodedTextNotComment) {
    const Node root = parse(s(u"<![CDATA[a &amp; <b>]]>"));
    ASSERT_EQ(root.GetChildren().size(), 1u);
    const Node& text = root.GetChildren()[0];
    EXPECT_TRUE(text.IsTextNode());
    EXPECT_FALSE(text.IsComment());
    EXPECT_EQ(text.GetText(), s(u"a & <b>"));
    EXPECT_TRUE(parse(s(u"<![CDATA[]]>")).GetChildren().empty());
}

TEST(HtmlParseSections, UnterminatedSectionStopsTheParse) {
    EXPECT_EQ(dumpParsed(s(u"<p>a</p>x<!-- never <b>y</b>")), s(u"<p>{'a'}'x'"));
    EXPECT_EQ(dumpParsed(s(u"<p>a</p>x<![CDATA[ never <b>y</b>")), s(u"<p>{'a'}'x'"));
    EXPECT_EQ(dumpParsed(s(u"<p>a</p>x<?php never <b>y</b>")), s(u"<p>{'a'}'x'"));
}

TEST(HtmlParseSections, ProcessingInstructionRunsToItsOwnEnd) {
    EXPECT_EQ(dumpParsed(s(u"<?a x>y?><br>")), s(u"<?a x>y?><br>{}"));
    EXPECT_EQ(dumpParsed(s(u"<?>x<br>")), s(u"<?>'x'<br>{}"));
}

// --- normalisation, spans and entities in the tree ---

TEST(HtmlParseNormalisation, WhiteSpaceBetweenTagsBecomesOneSpace) {
    EXPECT_EQ(dumpParsed(s(u"<p>\r\n   </p>")), s(u"<p>{' '}"));
    EXPECT_EQ(dumpParsed(s(u"<p>a\t\tb  c\r\n\r\nd</p>")), s(u"<p>{'a b c d'}"));
}

TEST(HtmlParseNormalisation, LoneLineBreaksStay) {
    EXPECT_EQ(dumpParsed(s(u"<p>a\nb\rc\r\r\nd</p>")), s(u"<p>{'a\nb\rc\r d'}"));
}

TEST(HtmlParseNormalisation, TagTextIsFoldedButNotDecoded) {
    const Node root = parse(s(u"<a\thref=\"?a=1&amp;b\"\r\n   class=x>&amp;</a>"));
    ASSERT_EQ(root.GetChildren().size(), 1u);
    EXPECT_EQ(root.GetChildren()[0].GetText(), s(u"<a href=\"?a=1&amp;b\" class=x>"));
    EXPECT_EQ(root.GetChildren()[0].GetChildren()[0].GetText(), s(u"&"));
}

TEST(HtmlParseNormalisation, TextThatDecodesToNothingIsNotKept) {
    EXPECT_EQ(dumpParsed(s(u"<p>&#0;</p>")), s(u"<p>{}"));
}

TEST(HtmlParseNormalisation, SpansPointIntoTheParsedText) {
    const Node root = parse(s(u"ab<p>cd</p><br/>"));
    EXPECT_EQ(dumpWithSpans(root), s(u"0||0-0|---\n"
                                     "1|ab|0-2|-t-\n"
                                     "1|<p>|2-4|c--\n"
                                     "2|cd|5-7|-t-\n"
                                     "1|<br/>|11-15|c--\n"));
}

// --- GetTagName ---

TEST(HtmlTagName, RulesOnTagTexts) {
    Node holder;
    auto nameOf = [&holder](const char16_t* tag, bool upper) {
        return holder.AddChild(s(tag), false)->GetTagName(upper);
    };
    EXPECT_EQ(nameOf(u"<br/>", false), s(u"br"));
    EXPECT_EQ(nameOf(u"</p>", true), s(u"P"));
    EXPECT_EQ(nameOf(u"<!-- x -->", false), s(u"!--"));
    EXPECT_EQ(nameOf(u"<?xml version='1.0'?>", false), s(u"?xml"));
    EXPECT_EQ(nameOf(u"<a\thref=x>", true), s(u"A"));
    EXPECT_EQ(nameOf(u"<div\"x\">", false), s(u"div"));
    EXPECT_EQ(nameOf(u"<stra\u00dfe>", true), s(u"STRASSE"));
    EXPECT_EQ(nameOf(u"<>", false), QString());
    EXPECT_EQ(nameOf(u"<abc", false), QString()); // no delimiter
    EXPECT_EQ(nameOf(u"<//>", false), QString());
    EXPECT_EQ(holder.AddChild(s(u"plain"), false)->GetTagName(false), s(u"plain"));
}

TEST(HtmlTagName, TextNodesHaveNoName) {
    const Node root = parse(s(u"&lt;b&gt; text<br>"));
    ASSERT_TRUE(root.GetChildren()[0].IsTextNode());
    EXPECT_EQ(root.GetChildren()[0].GetText(), s(u"<b> text"));
    EXPECT_EQ(root.GetChildren()[0].GetTagName(true), QString());
}

// --- DecodeHtmlEntities ---

TEST(HtmlEntities, NamedEntities) {
    EXPECT_EQ(DecodeHtmlEntities(s(u"&nbsp;&quot;&gt;&lt;&amp;")), s(u" \"><&"));
    EXPECT_EQ(DecodeHtmlEntities(s(u"&copy; &AMP; &Lt; &nbsp")), s(u"&copy; &AMP; &Lt; &nbsp"));
}

TEST(HtmlEntities, DecimalReferences) {
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#65;&#66;")), s(u"AB"));
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#x41;")), s(u"&#x41;"));
    EXPECT_EQ(DecodeHtmlEntities(s(u"&# 65;&#+66;&#67abc;")), s(u"ABC"));
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#abc;")), s(u"&#abc;"));
    // A reference runs to the next semicolon, whatever stands between.
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#65 x;y")), s(u"Ay"));
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#65")), s(u"&#65"));
}

TEST(HtmlEntities, AmpersandDecodesLastAndOnlyOnce) {
    EXPECT_EQ(DecodeHtmlEntities(s(u"&amp;#65;")), s(u"&#65;"));
    EXPECT_EQ(DecodeHtmlEntities(s(u"&amp;lt;")), s(u"&lt;"));
    EXPECT_EQ(DecodeHtmlEntities(s(u"&amp;amp;")), s(u"&amp;"));
}

TEST(HtmlEntities, ProducedTextIsNeverReadAgain) {
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#38;amp;")), s(u"&amp;"));
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#38;#65;")), s(u"&#65;"));
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#38;#65; and &#38;#65;")), s(u"&#65; and &#65;"));
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#38;lt;")), s(u"&lt;"));
    EXPECT_EQ(DecodeHtmlEntities(s(u"&am&#112;;")), s(u"&amp;"));
}

TEST(HtmlEntities, CodePointsBeyondSixteenBits) {
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#128512;")), s(u"\U0001F600"));
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#1114111;")), s(u"\U0010FFFF"));
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#65601;")), s(u"\U00010041")); // not the low 16 bits ("A")
}

TEST(HtmlEntities, InvalidCodePointsGiveReplacementCharacter) {
    const QString replacement = s(u"\uFFFD");
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#55357;")), replacement);
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#57343;")), replacement);
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#1114112;")), replacement);
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#-65;")), replacement);
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#99999999999999999999999;")), replacement);
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#-99999999999999999999999;")), replacement);
}

TEST(HtmlEntities, ZeroRemovesTheReferenceAndDecodingGoesOn) {
    EXPECT_EQ(DecodeHtmlEntities(s(u"a&#0;b")), s(u"ab"));
    EXPECT_EQ(DecodeHtmlEntities(s(u"&#0;&#65;&#-0;")), s(u"A"));
}

TEST(HtmlEntities, ManyAmpersandsWithoutSemicolonStayAsTheyAre) {
    QString text;
    for (int i = 0; i < 200000; ++i)
        text += u"&#1 ";
    EXPECT_EQ(DecodeHtmlEntities(text), text);
    EXPECT_EQ(DecodeHtmlEntities(text + s(u";")), s(u"\u0001"));
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

QString refName(const RefNode& node) {
    return node.isText ? QString() : node.text.toUpper().mid(1).remove(u'>').remove(u'/');
}

void refFold(std::vector<RefNode>& root, std::size_t k) {
    root[k].closed = true;
    for (std::size_t j = k + 1; j < root.size(); ++j)
        root[k].children.push_back(std::move(root[j]));
    root.resize(k + 1);
}

QString refDump(const std::vector<RefNode>& nodes) {
    QString out;
    for (const RefNode& node : nodes) {
        if (node.isText)
            out += u'\'' + node.text + u'\'';
        else if (!node.closed)
            out += node.text;
        else
            out += node.text + u'{' + refDump(node.children) + u'}';
    }
    return out;
}

TEST(HtmlParseAgreement, RandomTagSoupFoldsLikeBackwardScans) {
    std::mt19937 random(1249);
    const char16_t* names[] = {u"a", u"A", u"li", u"Li", u"option", u"ul", u"OL", u"div", u"b", u"p"};
    std::uniform_int_distribution<int> kindOf(0, 99);
    std::uniform_int_distribution<std::size_t> nameOf(0, std::size(names) - 1);
    std::uniform_int_distribution<int> lengthOf(1, 80);
    for (int round = 0; round < 3000; ++round) {
        QString page;
        std::vector<RefNode> root;
        bool lastWasText = false;
        const int length = lengthOf(random);
        for (int t = 0; t < length; ++t) {
            const int kind = kindOf(random);
            const QString name = QString::fromUtf16(names[nameOf(random)]);
            if (kind < 25 && !lastWasText) {
                const QString word = u't' + QString::number(t);
                page += word;
                root.push_back({word, false, true, {}});
                lastWasText = true;
                continue;
            }
            lastWasText = false;
            if (kind < 50) {
                const QString tag = s(u"</") + name + u'>';
                page += tag;
                const QString wanted = name.toUpper();
                for (std::size_t k = root.size(); k-- > 0;) {
                    if (root[k].isText || root[k].closed)
                        continue;
                    const bool match = refName(root[k]) == wanted;
                    refFold(root, k);
                    if (match)
                        break;
                }
            } else if (kind < 56) {
                const QString tag = u'<' + name + s(u"/>");
                page += tag;
                root.push_back({tag, true, false, {}});
            } else if (kind < 60) {
                page += u"<br>";
                root.push_back({s(u"<br>"), true, false, {}});
            } else {
                const QString tag = u'<' + name + u'>';
                page += tag;
                const QString wanted = name.toUpper();
                if (wanted == u"A" || wanted == u"LI" || wanted == u"OPTION") {
                    for (std::size_t k = root.size(); k-- > 0;) {
                        const QString have = refName(root[k]);
                        if (wanted == u"LI" && (have == u"UL" || have == u"OL"))
                            break;
                        if (!root[k].isText && !root[k].closed && have == wanted) {
                            refFold(root, k);
                            break;
                        }
                    }
                }
                root.push_back({tag, false, false, {}});
            }
        }
        if (lastWasText)
            root.pop_back(); // text after the last tag is dropped
        ASSERT_EQ(dumpParsed(page), refDump(root)) << page.toStdString();
    }
}

// --- hostile input: depth, width, and the tree operations on it ---

QString repeated(const char16_t* piece, int count) {
    const QString one = s(piece);
    QString out;
    out.reserve(one.size() * count);
    for (int i = 0; i < count; ++i)
        out += one;
    return out;
}

TEST(HtmlParseHostile, DeepNestingFromOneStrayEndTag) {
    constexpr int kDepth = 100000;
    Node root = parse(repeated(u"<div>", kDepth) + s(u"deep</x>"));
    EXPECT_EQ(depthOf(root), kDepth + 1); // the text sits below the innermost DIV

    std::vector<const Node*> found;
    std::as_const(root).FindAll(found, s(u"div"));
    EXPECT_EQ(found.size(), 1u);
    EXPECT_EQ(root.FindFirst(s(u"span")), nullptr);
    EXPECT_EQ(root.FindFirst(s(u"div"), s(u"c"), {}, {}, {}), nullptr);
    EXPECT_EQ(root.GetInnerText(false), s(u"deep"));
    EXPECT_EQ(root.GetInnerText(true), s(u"deep "));

    Node copy(root);
    EXPECT_EQ(depthOf(copy), kDepth + 1);
    EXPECT_EQ(dumpWithSpans(copy), dumpWithSpans(root));
    Node assigned = parse(s(u"<p>x</p>"));
    assigned = copy;
    EXPECT_EQ(depthOf(assigned), kDepth + 1);

    // Re-parsing releases the deep tree; so do assignment and destruction at the end of the test.
    root.Parse(s(u"<b>x</b>"));
    EXPECT_EQ(dump(root), s(u"<b>{'x'}"));
    copy = Node();
    EXPECT_TRUE(copy.GetChildren().empty());
}

TEST(HtmlParseHostile, DeepTreeMovedOutOfItsOwnSubtree) {
    Node root = parse(repeated(u"<div>", 50000) + s(u"</x>"));
    Node inner = root.GetChildren()[0].GetChildren()[0];
    root = std::move(root.GetChildren()[0].GetChildren()[0]);
    EXPECT_EQ(dumpWithSpans(root), dumpWithSpans(inner));
    root = root.GetChildren()[0];
    EXPECT_EQ(depthOf(root), 49997);
}

TEST(HtmlParseHostile, ManyPendingLinksStayFlat) {
    constexpr int kLinks = 100000;
    const Node root = parse(repeated(u"<a href=x>t<b>", kLinks) + s(u"<br>"));
    // Each link closes the one before; the last stays open with its text and B after it.
    ASSERT_EQ(root.GetChildren().size(), static_cast<std::size_t>(kLinks + 3));
    EXPECT_EQ(dump(root.GetChildren()[0]), s(u"'t'<b>"));
    EXPECT_TRUE(root.GetChildren()[kLinks - 2].IsClosed());
    EXPECT_FALSE(root.GetChildren()[kLinks - 1].IsClosed());
}

TEST(HtmlParseHostile, ManyListItemsInOneList) {
    constexpr int kItems = 100000;
    const Node root = parse(s(u"<ul>") + repeated(u"<li>x", kItems) + s(u"</ul>"));
    ASSERT_EQ(root.GetChildren().size(), 1u);
    EXPECT_EQ(root.GetChildren()[0].GetChildren().size(), static_cast<std::size_t>(kItems));
}

TEST(HtmlParseHostile, ManyStrayEndTagsAndBrokenSections) {
    const Node root = parse(repeated(u"</p><!--><!---><?>", 50000) + s(u"<br>"));
    EXPECT_EQ(root.GetChildren().size(), 50001u);
}

// --- copies ---

TEST(HtmlTreeCopy, CopiesAreDeepAndEqual) {
    const Node original = parse(s(u"<div class=a>x<!-- c --><ul><li>1<li>2</ul><br>&amp;<p>y</div><a>z<br>"));
    Node copy(original);
    EXPECT_EQ(dumpWithSpans(copy), dumpWithSpans(original));

    Node assigned = parse(s(u"<b>old</b>"));
    assigned = original;
    EXPECT_EQ(dumpWithSpans(assigned), dumpWithSpans(original));

    const QString before = dumpWithSpans(original);
    copy.GetChildren()[0].SetText(s(u"changed"));
    EXPECT_EQ(dumpWithSpans(original), before);
    EXPECT_NE(dumpWithSpans(copy), before);
}

TEST(HtmlTreeCopy, AssignFromOwnDescendant) {
    Node root = parse(s(u"<div><p>a<b>b</b></p></div>"));
    root = root.GetChildren()[0];
    EXPECT_EQ(dump(root), s(u"<p>{'a'<b>{'b'}}"));
    EXPECT_EQ(root.GetText(), s(u"<div>"));
    root = std::move(root.GetChildren()[0].GetChildren()[1]);
    EXPECT_EQ(root.GetText(), s(u"<b>"));
    EXPECT_EQ(dump(root), s(u"'b'"));
    Node& self = root;
    root = self;
    EXPECT_EQ(dump(root), s(u"'b'"));
}

TEST(HtmlTreeCopy, ParseOfOwnTextIsSafe) {
    Node root = parse(s(u"<p>a</p>"));
    Node& p = root.GetChildren()[0];
    p.Parse(p.GetText() + s(u"<i>x</i>"));
    EXPECT_EQ(dump(p), s(u"<p><i>{'x'}"));
    EXPECT_TRUE(p.GetText().isEmpty());
    root.Parse(root.GetChildren()[0].GetChildren()[0].GetText());
    EXPECT_EQ(dump(root), s(u"<p>"));
}

} // namespace

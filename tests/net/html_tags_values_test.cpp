#include "html_tags_test_util.h"

#include <gtest/gtest.h>

namespace {

using namespace html_test;
using ::testing::PrintToString;

// The value element of a parsed saved file holding text.
const Node* valueIn(const Node& tree) {
    return tree.FindFirst({.tag = s(u"v")});
}

Node valueTree(const QString& value) {
    return parse(s(u"\r\n<v>") + value + s(u"</v>"));
}

// --- AddChild ---

TEST(HtmlAddChild, ReuseEmptiesTheChildOfThatNameInAnyCaseWithoutReuseAppends) {
    Node root = parse(s(u"\r\n<r><Threads>6</Threads><other>x</other></r>"));
    Node* r = root.FindFirst({.tag = s(u"r")});
    ASSERT_NE(r, nullptr);
    Node* threads = r->AddChild(s(u"THREADS"), true);
    EXPECT_EQ(threads, &r->GetChildren()[0]);
    EXPECT_EQ(dump(*r), s(u"<Threads>{}<other>{'x'}"));

    Node list;
    list.AddChild(s(u"hist_str"), false)->SetText(s(u"a"));
    list.AddChild(s(u"hist_str"), false)->SetText(s(u"b"));
    list.AddChild(s(u"HIST_STR"), true)->SetText(s(u"c"));
    EXPECT_EQ(dump(list), s(u"<hist_str>{'c'}<hist_str>{'b'}"));
}

TEST(HtmlAddChild, ReuseNeverPicksTextNodes) {
    Node root = parse(s(u"&lt;key&gt;<br>"));
    ASSERT_EQ(root.GetChildren()[0].GetText(), s(u"<key>"));
    root.AddChild(s(u"key"), true);
    EXPECT_EQ(dump(root), s(u"'<key>'<br>{}<key>{}"));
}

TEST(HtmlAddChild, ReuseReleasesADeepSubtree) {
    Node root;
    Node* level = root.AddChild(s(u"list"), true);
    for (int i = 0; i < 100000; ++i)
        level = level->AddChild(s(u"n"), false);
    EXPECT_EQ(depthOf(root), 100001);
    EXPECT_TRUE(root.AddChild(s(u"LIST"), true)->GetChildren().empty());
}

// --- setters and getters ---

TEST(HtmlSetters, EachValueReplacesWhatTheElementHeld) {
    Node root;
    Node* value = root.AddChild(s(u"v"), true);
    value->AddChild(s(u"old"), false);
    EXPECT_TRUE(value->SetInt(-42));
    EXPECT_EQ(dump(*value), s(u"'-42'"));
    EXPECT_TRUE(value->SetFloat(-2.0f / 3.0f)); // the float widened, then six decimals
    EXPECT_EQ(dump(*value), s(u"'-0.666667'"));
    EXPECT_TRUE(value->SetBool(false));
    EXPECT_EQ(dump(*value), s(u"'false'"));
    EXPECT_TRUE(value->SetText(QString()));
    ASSERT_EQ(value->GetChildren().size(), 1u);
    EXPECT_TRUE(value->GetChildren()[0].IsTextNode());
}

TEST(HtmlGetters, MissingElementGivesDefault) {
    int i = 0;
    float f = 0;
    bool b = false;
    QString text = s(u"kept");
    EXPECT_FALSE(Node::GetInt(nullptr, i, 7));
    EXPECT_FALSE(Node::GetFloat(nullptr, f, -1.0f));
    EXPECT_FALSE(Node::GetBool(nullptr, b, true));
    EXPECT_FALSE(Node::GetString(nullptr, text));
    EXPECT_EQ(std::tuple(i, f, b, text), std::tuple(7, -1.0f, true, s(u"kept")));
    EXPECT_FALSE(Node::GetString(nullptr, text, s(u"default")));
    EXPECT_EQ(text, s(u"default"));
}

// What each getter returns and the value it leaves; the number reading itself is tested in core.
TEST(HtmlGetters, ValuesFromText) {
    int i = 0;
    float f = 0;
    EXPECT_TRUE(Node::GetInt(valueIn(valueTree(s(u" -7abc"))), i, 5));
    EXPECT_EQ(i, -7);
    EXPECT_FALSE(Node::GetInt(valueIn(valueTree(s(u"abc"))), i, 5));
    EXPECT_EQ(i, 5);
    EXPECT_TRUE(Node::GetFloat(valueIn(valueTree(s(u"2.25kg"))), f, -1));
    EXPECT_EQ(f, 2.25f);
    EXPECT_FALSE(Node::GetFloat(valueIn(valueTree(QString())), f, -1));
    EXPECT_EQ(f, -1.0f);
    QString text;
    EXPECT_TRUE(Node::GetString(valueIn(valueTree(s(u" a &lt;b&gt; "))), text, s(u"d")));
    EXPECT_EQ(text, s(u" a <b> ")); // untrimmed and decoded
    // True unless "false" or "0"; the return value is the value read.
    const struct {
        const char16_t* text;
        bool value;
    } bools[] = {{u"  FaLsE ", false}, {u"0", false}, {u"", true}, {u"no", true}, {u"00", true}};
    for (const auto& c : bools) {
        bool value = !c.value;
        EXPECT_EQ(Node::GetBool(valueIn(valueTree(s(c.text))), value, !c.value), c.value)
            << PrintToString(s(c.text));
        EXPECT_EQ(value, c.value) << PrintToString(s(c.text));
    }
}

} // namespace

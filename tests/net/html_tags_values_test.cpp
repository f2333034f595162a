#include "html_tags_test_util.h"

#include <gtest/gtest.h>

namespace {

using namespace html_test;
using ::testing::PrintToString;

// The value element of a parsed saved file holding text.
const Node* ValueIn(const Node& tree) {
    return tree.FindFirst({.tag = S(u"v")});
}

Node ValueTree(const QString& value) {
    return Parse(S(u"\r\n<v>") + value + S(u"</v>"));
}

// --- AddChild ---

TEST(HtmlAddChild, ReuseEmptiesTheChildOfThatNameInAnyCaseWithoutReuseAppends) {
    Node root = Parse(S(u"\r\n<r><Threads>6</Threads><other>x</other></r>"));
    Node* r = root.FindFirst({.tag = S(u"r")});
    ASSERT_NE(r, nullptr);
    Node* threads = r->AddChild(S(u"THREADS"), true);
    EXPECT_EQ(threads, &r->GetChildren()[0]);
    EXPECT_EQ(Dump(*r), S(u"<Threads>{}<other>{'x'}"));

    Node list;
    list.AddChild(S(u"hist_str"), false)->SetText(S(u"a"));
    list.AddChild(S(u"hist_str"), false)->SetText(S(u"b"));
    list.AddChild(S(u"HIST_STR"), true)->SetText(S(u"c"));
    EXPECT_EQ(Dump(list), S(u"<hist_str>{'c'}<hist_str>{'b'}"));
}

TEST(HtmlAddChild, ReuseNeverPicksTextNodes) {
    Node root = Parse(S(u"&lt;key&gt;<br>"));
    ASSERT_EQ(root.GetChildren()[0].GetText(), S(u"<key>"));
    root.AddChild(S(u"key"), true);
    EXPECT_EQ(Dump(root), S(u"'<key>'<br>{}<key>{}"));
}

TEST(HtmlAddChild, ReuseReleasesADeepSubtree) {
    Node root;
    Node* level = root.AddChild(S(u"list"), true);
    for (int i = 0; i < 100000; ++i)
        level = level->AddChild(S(u"n"), false);
    EXPECT_EQ(DepthOf(root), 100001);
    EXPECT_TRUE(root.AddChild(S(u"LIST"), true)->GetChildren().empty());
}

// --- setters and getters ---

TEST(HtmlSetters, EachValueReplacesWhatTheElementHeld) {
    Node root;
    Node* value = root.AddChild(S(u"v"), true);
    value->AddChild(S(u"old"), false);
    EXPECT_TRUE(value->SetInt(-42));
    EXPECT_EQ(Dump(*value), S(u"'-42'"));
    EXPECT_TRUE(value->SetFloat(-2.0f / 3.0f)); // the float widened, then six decimals
    EXPECT_EQ(Dump(*value), S(u"'-0.666667'"));
    EXPECT_TRUE(value->SetBool(false));
    EXPECT_EQ(Dump(*value), S(u"'false'"));
    EXPECT_TRUE(value->SetText(QString()));
    ASSERT_EQ(value->GetChildren().size(), 1u);
    EXPECT_TRUE(value->GetChildren()[0].IsTextNode());
}

TEST(HtmlGetters, MissingElementGivesDefault) {
    int i = 0;
    float f = 0;
    bool b = false;
    QString text = S(u"kept");
    EXPECT_FALSE(Node::GetInt(nullptr, i, 7));
    EXPECT_FALSE(Node::GetFloat(nullptr, f, -1.0f));
    EXPECT_FALSE(Node::GetBool(nullptr, b, true));
    EXPECT_FALSE(Node::GetString(nullptr, text));
    EXPECT_EQ(std::tuple(i, f, b, text), std::tuple(7, -1.0f, true, S(u"kept")));
    EXPECT_FALSE(Node::GetString(nullptr, text, S(u"default")));
    EXPECT_EQ(text, S(u"default"));
}

// What each getter returns and the value it leaves; the number reading itself is tested in core.
TEST(HtmlGetters, ValuesFromText) {
    int i = 0;
    float f = 0;
    EXPECT_TRUE(Node::GetInt(ValueIn(ValueTree(S(u" -7abc"))), i, 5));
    EXPECT_EQ(i, -7);
    EXPECT_FALSE(Node::GetInt(ValueIn(ValueTree(S(u"abc"))), i, 5));
    EXPECT_EQ(i, 5);
    EXPECT_TRUE(Node::GetFloat(ValueIn(ValueTree(S(u"2.25kg"))), f, -1));
    EXPECT_EQ(f, 2.25f);
    EXPECT_FALSE(Node::GetFloat(ValueIn(ValueTree(QString())), f, -1));
    EXPECT_EQ(f, -1.0f);
    QString text;
    EXPECT_TRUE(Node::GetString(ValueIn(ValueTree(S(u" a &lt;b&gt; "))), text, S(u"d")));
    EXPECT_EQ(text, S(u" a <b> ")); // untrimmed and decoded
    // True unless "false" or "0"; the return value is the value read.
    const struct {
        const char16_t* text;
        bool value;
    } bools[] = {{u"  FaLsE ", false}, {u"0", false}, {u"", true}, {u"no", true}, {u"00", true}};
    for (const auto& c : bools) {
        bool value = !c.value;
        EXPECT_EQ(Node::GetBool(ValueIn(ValueTree(S(c.text))), value, !c.value), c.value)
            << PrintToString(S(c.text));
        EXPECT_EQ(value, c.value) << PrintToString(S(c.text));
    }
}

} // namespace

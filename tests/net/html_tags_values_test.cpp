#include "html_tags_test_util.h"

#include <QLocale>
#include <clocale>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

using namespace html_test;
using ::testing::PrintToString;

// A value element holding text, as a parsed saved file has it.
Node valueTree(const QString& value) {
    return parse(s(u"\r\n<v>") + value + s(u"</v>"));
}

// --- AddChild ---

TEST(HtmlAddChild, ReuseReturnsExistingChildOfAnyCaseEmptied) {
    Node root = parse(s(u"\r\n<r><Threads>6</Threads><other>x</other></r>"));
    Node* r = root.FindFirst({.tag = s(u"r")});
    ASSERT_NE(r, nullptr);
    const std::size_t before = r->GetChildren().size();
    Node* threads = r->AddChild(s(u"THREADS"), true);
    EXPECT_EQ(threads, &r->GetChildren()[0]);
    EXPECT_EQ(threads->GetText(), s(u"<Threads>"));
    EXPECT_TRUE(threads->GetChildren().empty());
    EXPECT_EQ(r->GetChildren().size(), before);
    EXPECT_EQ(r->GetChildren()[1].GetInnerText(false), s(u"x"));
}

TEST(HtmlAddChild, WithoutReuseAppendsRepeatedElements) {
    Node root;
    root.AddChild(s(u"hist_str"), false)->SetText(s(u"a"));
    root.AddChild(s(u"hist_str"), false)->SetText(s(u"b"));
    ASSERT_EQ(root.GetChildren().size(), 2u);
    EXPECT_EQ(dump(root), s(u"<hist_str>{'a'}<hist_str>{'b'}"));
    root.AddChild(s(u"HIST_STR"), true)->SetText(s(u"c"));
    EXPECT_EQ(dump(root), s(u"<hist_str>{'c'}<hist_str>{'b'}"));
}

TEST(HtmlAddChild, BuiltElementsAreClosedAndKeepRawTags) {
    Node root;
    Node* plain = root.AddChild(s(u"key"), false);
    EXPECT_TRUE(plain->IsClosed());
    EXPECT_FALSE(plain->IsTextNode());
    EXPECT_EQ(plain->GetText(), s(u"<key>"));
    EXPECT_EQ(plain->GetSpanEnd(), 0);
    EXPECT_EQ(root.AddChild(s(u"<img src=x>"), false)->GetText(), s(u"<img src=x>"));
}

TEST(HtmlAddChild, ReuseNeverPicksTextNodes) {
    Node root = parse(s(u"&lt;key&gt;<br>"));
    ASSERT_TRUE(root.GetChildren()[0].IsTextNode());
    ASSERT_EQ(root.GetChildren()[0].GetText(), s(u"<key>"));
    root.AddChild(s(u"key"), true);
    EXPECT_EQ(root.GetChildren().size(), 3u);
    EXPECT_EQ(root.GetChildren()[0].GetText(), s(u"<key>"));
}

TEST(HtmlAddChild, ReuseReleasesADeepSubtree) {
    Node root;
    Node* list = root.AddChild(s(u"list"), true);
    Node* level = list;
    for (int i = 0; i < 100000; ++i)
        level = level->AddChild(s(u"n"), false);
    EXPECT_EQ(depthOf(root), 100001);
    EXPECT_TRUE(root.AddChild(s(u"LIST"), true)->GetChildren().empty());
}

// --- setters ---

TEST(HtmlSetters, ValuesAreStoredAsOneTextChild) {
    Node root;
    Node* value = root.AddChild(s(u"v"), true);
    value->AddChild(s(u"old"), false);
    EXPECT_TRUE(value->SetInt(-42));
    EXPECT_EQ(dump(*value), s(u"'-42'"));
    EXPECT_TRUE(value->SetFloat(1.5f));
    EXPECT_EQ(dump(*value), s(u"'1.500000'"));
    EXPECT_TRUE(value->SetBool(true));
    EXPECT_EQ(dump(*value), s(u"'true'"));
    EXPECT_TRUE(value->SetBool(false));
    EXPECT_EQ(dump(*value), s(u"'false'"));
    EXPECT_TRUE(value->SetText(QString()));
    ASSERT_EQ(value->GetChildren().size(), 1u);
    EXPECT_TRUE(value->GetChildren()[0].IsTextNode());
    EXPECT_TRUE(value->GetChildren()[0].GetText().isEmpty());
}

TEST(HtmlSetters, FloatsHaveSixDecimalsOfTheWidenedValue) {
    Node root;
    Node* value = root.AddChild(s(u"v"), true);
    value->SetFloat(0.1f);
    EXPECT_EQ(value->GetInnerText(false), s(u"0.100000"));
    value->SetFloat(-2.0f / 3.0f);
    EXPECT_EQ(value->GetInnerText(false), s(u"-0.666667"));
    value->SetFloat(16777216.0f);
    EXPECT_EQ(value->GetInnerText(false), s(u"16777216.000000"));
    value->SetInt(std::numeric_limits<int>::min());
    EXPECT_EQ(value->GetInnerText(false), s(u"-2147483648"));
}

// --- getters ---

TEST(HtmlGetters, MissingElementGivesDefault) {
    int i = 0;
    float f = 0;
    bool b = false;
    QString text = s(u"kept");
    EXPECT_FALSE(Node::GetInt(nullptr, i, 7));
    EXPECT_EQ(i, 7);
    EXPECT_FALSE(Node::GetFloat(nullptr, f, -1.0f));
    EXPECT_EQ(f, -1.0f);
    EXPECT_FALSE(Node::GetBool(nullptr, b, true));
    EXPECT_TRUE(b);
    EXPECT_FALSE(Node::GetString(nullptr, text));
    EXPECT_EQ(text, s(u"kept"));
    EXPECT_FALSE(Node::GetString(nullptr, text, s(u"default")));
    EXPECT_EQ(text, s(u"default"));
}

// Each getter on a parsed value: what it returns and the value it leaves.
TEST(HtmlGetters, NumbersAndBooleansFromText) {
    constexpr int kIntMax = std::numeric_limits<int>::max();
    constexpr int kIntMin = std::numeric_limits<int>::min();
    const struct {
        const char16_t* text;
        int fallback;
        bool found;
        int value;
    } ints[] = {
        {u"12abc", -1, true, 12},
        {u" -7 ", -1, true, -7},
        {u"abc", -1, false, -1},
        {u"", 5, false, 5},
        {u"99999999999999999999", 0, true, kIntMax},
        {u"-2147483649", 0, true, kIntMin},
    };
    for (const auto& c : ints) {
        int value = 0;
        EXPECT_EQ(Node::GetInt(valueTree(s(c.text)).FindFirst({.tag = s(u"v")}), value, c.fallback), c.found)
            << PrintToString(s(c.text));
        EXPECT_EQ(value, c.value) << PrintToString(s(c.text));
    }
    constexpr float kFloatMax = std::numeric_limits<float>::max();
    const struct {
        const char16_t* text;
        float fallback;
        bool found;
        float value;
    } floats[] = {
        {u"2.25kg", -1, true, 2.25f},  {u"3,5", -1, true, 3.0f},         {u"no", -1, false, -1.0f},
        {u"1e39", 0, true, kFloatMax}, {u"-1e999", 0, true, -kFloatMax}, {u"1e-999", 1, true, 0.0f},
    };
    for (const auto& c : floats) {
        float value = 0;
        EXPECT_EQ(Node::GetFloat(valueTree(s(c.text)).FindFirst({.tag = s(u"v")}), value, c.fallback),
                  c.found)
            << PrintToString(s(c.text));
        EXPECT_EQ(value, c.value) << PrintToString(s(c.text));
    }
    // True unless "false" or "0"; the return value is the value read.
    const struct {
        const char16_t* text;
        bool value;
    } bools[] = {{u"  FaLsE ", false}, {u"0", false}, {u"", true}, {u"no", true}, {u"00", true}};
    for (const auto& c : bools) {
        bool value = !c.value;
        EXPECT_EQ(Node::GetBool(valueTree(s(c.text)).FindFirst({.tag = s(u"v")}), value, !c.value), c.value)
            << PrintToString(s(c.text));
        EXPECT_EQ(value, c.value) << PrintToString(s(c.text));
    }
}

TEST(HtmlGetters, StringsAreTheUntrimmedInnerText) {
    QString text;
    EXPECT_TRUE(Node::GetString(valueTree(s(u" a &lt;b&gt; ")).FindFirst({.tag = s(u"v")}), text, s(u"d")));
    EXPECT_EQ(text, s(u" a <b> "));
    EXPECT_TRUE(Node::GetString(valueTree(QString()).FindFirst({.tag = s(u"v")}), text, s(u"d")));
    EXPECT_EQ(text, QString());
}

TEST(HtmlGetters, BuiltValuesReadBackWithoutParsing) {
    Node root;
    Node* record = root.AddChild(s(u"record"), false);
    record->AddChild(s(u"count"), true)->SetInt(12);
    record->AddChild(s(u"ratio"), true)->SetFloat(0.25f);
    record->AddChild(s(u"on"), true)->SetBool(false);
    // Built nodes are not found by the queries, so their children are read directly.
    int count = 0;
    float ratio = 0;
    bool on = true;
    EXPECT_TRUE(Node::GetInt(&record->GetChildren()[0], count, -1));
    EXPECT_TRUE(Node::GetFloat(&record->GetChildren()[1], ratio, -1));
    EXPECT_FALSE(Node::GetBool(&record->GetChildren()[2], on, true));
    EXPECT_EQ(count, 12);
    EXPECT_EQ(ratio, 0.25f);
    EXPECT_FALSE(on);
}

// --- locale independence ---

// Sets a decimal-comma locale for the C library and for Qt, and restores both afterwards.
class DecimalCommaLocale : public ::testing::Test {
  protected:
    void SetUp() override {
        m_savedC = std::setlocale(LC_ALL, nullptr);
        m_savedQt = QLocale();
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
            GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    void TearDown() override {
        std::setlocale(LC_ALL, m_savedC.c_str());
        QLocale::setDefault(m_savedQt);
    }

  private:
    std::string m_savedC;
    QLocale m_savedQt;
};

TEST_F(DecimalCommaLocale, FloatsKeepTheirPoint) {
    ASSERT_EQ(*std::localeconv()->decimal_point, ',');
    Node root;
    Node* value = root.AddChild(s(u"v"), true);
    value->SetFloat(1.5f);
    EXPECT_EQ(value->GetInnerText(false), s(u"1.500000"));
    value->SetInt(1234567);
    EXPECT_EQ(value->GetInnerText(false), s(u"1234567"));

    float f = 0;
    EXPECT_TRUE(Node::GetFloat(valueTree(s(u"2.75")).FindFirst({.tag = s(u"v")}), f, -1));
    EXPECT_EQ(f, 2.75f);
    EXPECT_TRUE(Node::GetFloat(valueTree(s(u"2,75")).FindFirst({.tag = s(u"v")}), f, -1));
    EXPECT_EQ(f, 2.0f);
}

} // namespace

#include "skin/last_error_text.h"
#include "skin/markup_text.h"
#include "skin/text_escape.h"

#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <thread>

using namespace Qt::StringLiterals;

// "&" goes first, so an entity already in the text is kept as text, not turned into the character; escaped
// text holds no tag the markup drawing would act on.
TEST(TextEscape, MarkupEscapingLeavesNoTagAndKeepsEntitiesAsText) {
    EXPECT_EQ(EscapeMarkup(u"<b>5 & 6</b> &lt;"_s), u"&lt;b&gt;5 &amp; 6&lt;/b&gt; &amp;lt;"_s);
    const QString escaped = EscapeMarkup(u"a <u>b</u> <sup>c"_s);
    const QList<skin::MarkupRun> runs = skin::TokenizeMarkup(escaped, skin::MarkupTags::Title);
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs[0].text, escaped);
    EXPECT_EQ(EscapeMarkup(QString()), QString());
}

// Quotes of either kind and backslashes get a backslash; line breaks become escapes, so the string stays on
// one line of script.
TEST(TextEscape, ScriptStringsKeepQuotesBackslashesAndLineBreaks) {
    EXPECT_EQ(EscapeScriptString(u"it's \"x\"\\n\n\r\n"_s), u"it\\'s \\\"x\\\"\\\\n\\n\\r\\n"_s);
    EXPECT_FALSE(EscapeScriptString(u"a\nb\rc"_s).contains(u'\n'));
    EXPECT_FALSE(EscapeScriptString(u"a\nb\rc"_s).contains(u'\r'));
    EXPECT_EQ(EscapeScriptString(u"plain text"_s), u"plain text"_s);
}

// The text of the calling thread's own last error, none of another thread's; a number the system has no
// text for is named with its code.
TEST(LastErrorText, TheCallingThreadsErrorOrItsCode) {
    ASSERT_EQ(::open("/nonexistent-tarnwick/x", O_RDONLY), -1);
    QString here;
    QString there;
    std::thread other([&there] {
        errno = EACCES;
        GetLastErrorText(there);
    });
    other.join();
    GetLastErrorText(here);
    EXPECT_EQ(here, u"No such file or directory"_s);
    EXPECT_EQ(there, u"Permission denied"_s);

    errno = 0x7FFF;
    GetLastErrorText(here);
    EXPECT_EQ(here, u"Unknown error code 00007fff (32767)"_s);
    errno = -5;
    GetLastErrorText(here);
    EXPECT_EQ(here, u"Unknown error code fffffffb (-5)"_s);
}

#include "parsers/search_parsers_state.h"
#include "tests/parsers/parser_test_util.h"

#include <gtest/gtest.h>

using parser_test::s;

namespace {

TEST(ServiceRunState, RunUnderWayKeepsTheTextsItBeganWith) {
    YahooParserState state;
    EXPECT_TRUE(state.BeginStep(2, -1, s(u"ann"), s(u"pw1"), s(u"red widgets")));
    EXPECT_EQ(state.m_downloaderIndex, 2);
    EXPECT_FALSE(state.BeginStep(2, 1, s(u"bob"), s(u"pw2"), s(u"blue widgets")));
    EXPECT_EQ(state.m_user, s(u"ann"));
    EXPECT_EQ(state.m_keywords, s(u"red widgets"));
}

TEST(ServiceRunState, AbandonedRunNeverLendsItsTextsToTheNext) {
    YahooParserState state;
    state.BeginStep(2, -1, s(u"ann"), s(u"pw1"), s(u"red widgets"));
    // The run was dropped at step 2 without ending; the next run starts on another downloader.
    EXPECT_TRUE(state.BeginStep(5, -1, s(u"bob"), s(u"pw2"), s(u"blue widgets")));
    EXPECT_EQ(state.m_user, s(u"bob"));
    EXPECT_EQ(state.m_keywords, s(u"blue widgets"));
    // The pool handed the same downloader out again: its step is back below 1, so this is a new run too.
    EXPECT_TRUE(state.BeginStep(5, 0, s(u"cy"), QString(), s(u"green")));
    EXPECT_EQ(state.m_user, s(u"cy"));
    EXPECT_TRUE(state.m_password.isEmpty());
    // Even a later step on another downloader than the one the state knows starts afresh.
    EXPECT_TRUE(state.BeginStep(6, 3, s(u"dee"), s(u"pw4"), s(u"gold")));
    EXPECT_EQ(state.m_keywords, s(u"gold"));
}

TEST(ServiceRunState, EndedRunLetsTheNextStepBeginAnew) {
    GoogleParserState state;
    state.BeginStep(1, -1, s(u"ann"), s(u"pw"), s(u"red"));
    state.m_captchaAnswer = s(u"x7k2");
    state.EndRun();
    EXPECT_EQ(state.m_downloaderIndex, -1);
    EXPECT_TRUE(state.BeginStep(1, 4, s(u"ann"), s(u"pw"), s(u"blue")));
    EXPECT_EQ(state.m_keywords, s(u"blue"));
    // The typed picture code outlives the run.
    EXPECT_EQ(state.m_captchaAnswer, s(u"x7k2"));
}

TEST(ServiceRunState, NewAdServiceRunForgetsTheOldSignInButNotTheIntentQuery) {
    BingParserState state;
    state.BeginStep(0, -1, s(u"ann"), s(u"pw"), s(u"red"));
    state.m_loginToken = s(u"token-1");
    state.m_researchForm = s(u"a=1&%%SEArCH%%&");
    state.m_intentQuery = s(u"buy widgets");
    state.m_intentForm = s(u"__VIEWSTATE=x&");
    EXPECT_FALSE(state.BeginStep(0, 2, s(u"ann"), s(u"pw"), s(u"red")));
    EXPECT_EQ(state.m_loginToken, s(u"token-1"));

    EXPECT_TRUE(state.BeginStep(3, -1, s(u"bob"), s(u"pw2"), s(u"blue")));
    EXPECT_TRUE(state.m_loginToken.isEmpty());
    EXPECT_TRUE(state.m_researchForm.isEmpty());
    EXPECT_EQ(state.m_intentQuery, s(u"buy widgets"));
    EXPECT_EQ(state.m_intentForm, s(u"__VIEWSTATE=x&"));
}

} // namespace

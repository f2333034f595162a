#include "parsers/search_parsers_state.h"
#include "tests/parsers/parser_test_util.h"

#include <gtest/gtest.h>

using parser_test::S;

namespace {

TEST(ServiceRunState, RunUnderWayKeepsTheTextsItBeganWith) {
    YahooParserState state;
    EXPECT_TRUE(state.BeginStep(2, -1, S(u"ann"), S(u"pw1"), S(u"red widgets")));
    EXPECT_EQ(state.m_downloaderIndex, 2);
    EXPECT_FALSE(state.BeginStep(2, 1, S(u"bob"), S(u"pw2"), S(u"blue widgets")));
    EXPECT_EQ(state.m_user, S(u"ann"));
    EXPECT_EQ(state.m_keywords, S(u"red widgets"));
}

TEST(ServiceRunState, AbandonedRunNeverLendsItsTextsToTheNext) {
    YahooParserState state;
    state.BeginStep(2, -1, S(u"ann"), S(u"pw1"), S(u"red widgets"));
    // The run was dropped at step 2 without ending; the next run starts on another downloader.
    EXPECT_TRUE(state.BeginStep(5, -1, S(u"bob"), S(u"pw2"), S(u"blue widgets")));
    EXPECT_EQ(state.m_user, S(u"bob"));
    EXPECT_EQ(state.m_keywords, S(u"blue widgets"));
    // The pool handed the same downloader out again: its step is back below 1, so this is a new run too.
    EXPECT_TRUE(state.BeginStep(5, 0, S(u"cy"), QString(), S(u"green")));
    EXPECT_EQ(state.m_user, S(u"cy"));
    EXPECT_TRUE(state.m_password.isEmpty());
    // Even a later step on another downloader than the one the state knows starts afresh.
    EXPECT_TRUE(state.BeginStep(6, 3, S(u"dee"), S(u"pw4"), S(u"gold")));
    EXPECT_EQ(state.m_keywords, S(u"gold"));
}

TEST(ServiceRunState, EndedRunLetsTheNextStepBeginAnew) {
    GoogleParserState state;
    state.BeginStep(1, -1, S(u"ann"), S(u"pw"), S(u"red"));
    state.m_captchaAnswer = S(u"x7k2");
    state.EndRun();
    EXPECT_EQ(state.m_downloaderIndex, -1);
    EXPECT_TRUE(state.BeginStep(1, 4, S(u"ann"), S(u"pw"), S(u"blue")));
    EXPECT_EQ(state.m_keywords, S(u"blue"));
    // The typed picture code outlives the run.
    EXPECT_EQ(state.m_captchaAnswer, S(u"x7k2"));
}

TEST(ServiceRunState, NewAdServiceRunForgetsTheOldSignInButNotTheIntentQuery) {
    BingParserState state;
    state.BeginStep(0, -1, S(u"ann"), S(u"pw"), S(u"red"));
    state.m_loginToken = S(u"token-1");
    state.m_researchForm = S(u"a=1&%%SEArCH%%&");
    state.m_intentQuery = S(u"buy widgets");
    state.m_intentForm = S(u"__VIEWSTATE=x&");
    EXPECT_FALSE(state.BeginStep(0, 2, S(u"ann"), S(u"pw"), S(u"red")));
    EXPECT_EQ(state.m_loginToken, S(u"token-1"));

    EXPECT_TRUE(state.BeginStep(3, -1, S(u"bob"), S(u"pw2"), S(u"blue")));
    EXPECT_TRUE(state.m_loginToken.isEmpty());
    EXPECT_TRUE(state.m_researchForm.isEmpty());
    EXPECT_EQ(state.m_intentQuery, S(u"buy widgets"));
    EXPECT_EQ(state.m_intentForm, S(u"__VIEWSTATE=x&"));
}

} // namespace

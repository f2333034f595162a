#include "parsers/endpoints.h"
#include "tests/parsers/parser_test_util.h"

#include <gtest/gtest.h>

using parser_test::S;

namespace {

class Endpoints : public ::testing::Test {
  protected:
    void TearDown() override { endpoints::ResetToDefaults(); }
};

TEST_F(Endpoints, OverrideWithPortAndPrefixThenReset) {
    endpoints::Set(Endpoint::BingWeb, EndpointBase{S(u"http"), S(u"127.0.0.1"), 40123, S(u"/bing")});
    EXPECT_EQ(endpoints::Url(Endpoint::BingWeb, S(u"/search?q=a")),
              S(u"http://127.0.0.1:40123/bing/search?q=a"));
    // Other services keep their own bases.
    EXPECT_EQ(endpoints::Base(Endpoint::GoogleWeb), endpoints::DefaultBase(Endpoint::GoogleWeb));
    endpoints::ResetToDefaults();
    EXPECT_EQ(endpoints::Base(Endpoint::BingWeb), endpoints::DefaultBase(Endpoint::BingWeb));
}

// An IPv6 host is bracketed; a form that names an address with its port gets the scheme's own port when the
// base names none.
TEST_F(Endpoints, Ipv6HostIsBracketedAndPortWrittenOut) {
    endpoints::Set(Endpoint::AskWeb, EndpointBase{S(u"https"), S(u"::1"), 8443, QString()});
    EXPECT_EQ(endpoints::BaseUrl(Endpoint::AskWeb), S(u"https://[::1]:8443"));
    endpoints::Set(Endpoint::AskWeb, EndpointBase{S(u"https"), S(u"::1"), 0, S(u"/p")});
    EXPECT_EQ(endpoints::BaseUrlWithPort(Endpoint::AskWeb), S(u"https://[::1]:443/p"));
    endpoints::Set(Endpoint::AskWeb, EndpointBase{S(u"http"), S(u"127.0.0.1"), 0, QString()});
    EXPECT_EQ(endpoints::BaseUrlWithPort(Endpoint::AskWeb), S(u"http://127.0.0.1:80"));
    endpoints::Set(Endpoint::AskWeb, EndpointBase{S(u"http"), S(u"127.0.0.1"), 8080, QString()});
    EXPECT_EQ(endpoints::BaseUrlWithPort(Endpoint::AskWeb), S(u"http://127.0.0.1:8080"));
}

} // namespace

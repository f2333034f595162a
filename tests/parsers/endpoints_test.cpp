#include "parsers/endpoints.h"
#include "tests/parsers/parser_test_util.h"

#include <gtest/gtest.h>

using parser_test::s;

namespace {

class Endpoints : public ::testing::Test {
  protected:
    void TearDown() override { endpoints::resetToDefaults(); }
};

TEST_F(Endpoints, OverrideWithPortAndPrefixThenReset) {
    endpoints::set(Endpoint::BingWeb, EndpointBase{s(u"http"), s(u"127.0.0.1"), 40123, s(u"/bing")});
    EXPECT_EQ(endpoints::url(Endpoint::BingWeb, s(u"/search?q=a")),
              s(u"http://127.0.0.1:40123/bing/search?q=a"));
    // Other services keep their own bases.
    EXPECT_EQ(endpoints::base(Endpoint::GoogleWeb), endpoints::defaultBase(Endpoint::GoogleWeb));
    endpoints::resetToDefaults();
    EXPECT_EQ(endpoints::base(Endpoint::BingWeb), endpoints::defaultBase(Endpoint::BingWeb));
}

TEST_F(Endpoints, Ipv6HostIsBracketed) {
    endpoints::set(Endpoint::AskWeb, EndpointBase{s(u"https"), s(u"::1"), 8443, QString()});
    EXPECT_EQ(endpoints::baseUrl(Endpoint::AskWeb), s(u"https://[::1]:8443"));
}

// A form that names an address with its port gets the scheme's own port when the base names none.
TEST_F(Endpoints, PortWrittenOut) {
    endpoints::set(Endpoint::AskWeb, EndpointBase{s(u"https"), s(u"::1"), 0, s(u"/p")});
    EXPECT_EQ(endpoints::baseUrlWithPort(Endpoint::AskWeb), s(u"https://[::1]:443/p"));
    endpoints::set(Endpoint::AskWeb, EndpointBase{s(u"http"), s(u"127.0.0.1"), 0, QString()});
    EXPECT_EQ(endpoints::baseUrlWithPort(Endpoint::AskWeb), s(u"http://127.0.0.1:80"));
    endpoints::set(Endpoint::AskWeb, EndpointBase{s(u"http"), s(u"127.0.0.1"), 8080, QString()});
    EXPECT_EQ(endpoints::baseUrlWithPort(Endpoint::AskWeb), s(u"http://127.0.0.1:8080"));
}

} // namespace

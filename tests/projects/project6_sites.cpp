#include "tests/projects/project6_sites.h"

namespace projtest {

namespace {

twtest::HttpReply PageFile(const char* name, int status = 200) {
    twtest::HttpReply reply = twtest::HttpReply::Page(FixtureServer::ReadDataFile(QString::fromLatin1(name)));
    reply.status = status;
    reply.reason = status == 200 ? "OK" : "Not Found";
    return reply;
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

} // namespace

Project6Sites::Project6Sites() {
    a.SetReply("/", PageFile("kind6/site_a.html"));
    b.SetReply("/", twtest::HttpReply::Redirect(302, "/home.html"));
    b.SetReply("/home.html", PageFile("kind6/site_b_home.html"));
    c.SetReply("/", PageFile("kind6/site_c.html"));
    e.SetDefaultReply(twtest::HttpReply::With(twtest::HttpReply::Delivery::CloseAtOnce));
    f.SetDefaultReply(PageFile("kind6/site_f.html", 404));
}

std::vector<std::pair<char, std::uint16_t>> Project6Sites::Ports() const {
    return {{'A', a.Port()}, {'B', b.Port()}, {'C', c.Port()},
            {'D', d.Port()}, {'E', e.Port()}, {'F', f.Port()}};
}

std::string Project6Sites::Host(char site) const {
    for (const auto& [name, port] : Ports())
        if (name == site)
            return "127.0.0.1:" + std::to_string(port);
    return {};
}

std::string Project6Sites::Fill(std::string text) const {
    for (const auto& [name, port] : Ports())
        Replace(text, std::string("{") + name + "}", Host(name));
    return text;
}

QByteArray Project6Sites::Mask(QByteArray bytes) const {
    for (const auto& [name, port] : Ports()) {
        const std::string masked = std::string("site-") + char(name - 'A' + 'a');
        bytes.replace(QByteArray::fromStdString(Host(name)), QByteArray::fromStdString(masked));
    }
    return bytes;
}

void Project6Sites::ServeServices(FixtureServer& server) const {
    const auto page = [&](const char* name) {
        return twtest::HttpReply::Page(Fill(FixtureServer::ReadDataFile(QString::fromLatin1(name))));
    };
    server.Serve(Endpoint::GoogleWeb, "/search", {"gnomes", "start=0"}, page("kind6/google_page1.html"));
    server.Serve(Endpoint::GoogleWeb, "/search", {"gnomes", "start=10"}, page("kind6/google_page2.html"));
    server.Serve(Endpoint::GoogleWeb, "/search", {"gnomes", "start=20"}, page("kind6/google_empty.html"));
    const std::pair<char, int> pageRanks[] = {{'A', 4}, {'B', 6}, {'C', 3}};
    for (const auto& [site, rank] : pageRanks) {
        server.Serve(Endpoint::GoogleToolbar, "/search", {"info:http://" + Host(site) + "/"},
                     twtest::HttpReply::Page("Rank_1:1:" + std::to_string(rank), "text/plain"));
    }
    const std::pair<char, const char*> trafficRanks[] = {{'A', "12,345"}, {'B', ""}, {'C', "987"}};
    for (const auto& [site, rank] : trafficRanks) {
        server.Serve(Endpoint::AlexaData, "/data", {"url=" + Host(site)},
                     twtest::HttpReply::Page(std::string("<ALEXA><SD><POPULARITY URL=\"x/\" TEXT=\"") + rank +
                                                 "\"/></SD></ALEXA>",
                                             "text/xml"));
    }
}

} // namespace projtest

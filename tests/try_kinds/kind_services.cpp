#include "tests/try_kinds/kind_services.h"

#include "net/whois_directory.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPainter>

using namespace Qt::StringLiterals;
using projtest::FixtureServer;
using twtest::HttpReply;

namespace trykinds {

namespace {

const std::string kIntentPath = "/Online-Commercial-Intention/Default.aspx";
const char* const kWhoisServer = "whois.try-kinds.test";

// The keyword tool's picture code, readable: any code typed in is taken.
HttpReply PicturePage() {
    QImage picture(180, 60, QImage::Format_RGB32);
    picture.fill(QColor(0xf4, 0xf6, 0xf8));
    QPainter painter(&picture);
    QFont font(u"Liberation Sans"_s);
    font.setPixelSize(30);
    font.setItalic(true);
    painter.setFont(font);
    painter.setPen(QColor(0x1f, 0x4e, 0x79));
    painter.drawText(picture.rect(), Qt::AlignCenter, u"x7k2p"_s);
    painter.end();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return HttpReply::Page(png.toStdString(), "image/png");
}

HttpReply DataPage(const char* file, const char* type = "text/html; charset=utf-8") {
    return HttpReply::Page(FixtureServer::ReadDataFile(QString::fromLatin1(file)), type);
}

HttpReply IntentPage(const std::string& query, const std::string& value) {
    std::string text = FixtureServer::ReadDataFile(u"kind2/intent.html"_s);
    text.replace(text.find("%QUERY%"), 7, query);
    text.replace(text.find("%VALUE%"), 7, value);
    return HttpReply::Page(text);
}

HttpReply Failing() {
    return HttpReply::With(HttpReply::Delivery::CloseAtOnce);
}

} // namespace

KindServices::KindServices() {
    // The rule added last wins: the fallbacks first, then each kind's own keywords.
    ServeFallbacks();
    ServeKeywordIdeas();
    ServeNicheResearch();
    ServeChronicle();
    ServeRankSummit();
    m_sites.ServeServices(m_server);
    ServeOffers();
    m_whois.SetDefaultReply("Domain Name: example\r\n\r\nCreation Date: 2004-06-21\r\n");
}

void KindServices::PointEndpoints() const {
    m_server.PointEndpoints();
    whois_directory::SetRows({{u"example"_s, u"No match for"_s, QString::fromLatin1(kWhoisServer)}});
    whois_directory::MapServer(QString::fromLatin1(kWhoisServer), QString::fromStdString(m_whois.Host()),
                               m_whois.Port());
}

std::vector<KindKeywords> KindServices::Keywords() {
    return {{1, u"blue widgets;red widgets;"_s},
            {2, u"red shoes;blue shoes;green shoes;"_s},
            {3, u"blue widgets;"_s},
            {4, u"red gadgets;green gadgets;"_s},
            {6, u"garden gnomes;"_s},
            {7, u"garden gnomes;"_s},
            {8, u"widgets;"_s}};
}

QStringList KindServices::WatchKeywords() {
    return {u"running shoes"_s, u"hiking boots"_s};
}

QStringList KindServices::WatchSites() {
    return {u"shoeshop.com"_s, u"bootbarn.net"_s};
}

void KindServices::ServeFallbacks() {
    m_server.ServeFile(Endpoint::GoogleWeb, "/search", {}, u"kind5/google_shoes.html"_s);
    m_server.ServeFile(Endpoint::BingWeb, "/search", {}, u"kind5/bing_shoes.html"_s);
    m_server.ServeFile(Endpoint::YahooWeb, "/search", {}, u"kind5/yahoo_shoes.html"_s);
    m_server.ServeFile(Endpoint::YahooWeb, "/search", {"p=hiking boots"}, u"kind5/yahoo_boots.html"_s);
    // Any site's ranks and links, for the top sites of Rank Summit.
    m_server.Serve(Endpoint::GoogleToolbar, "/search", {}, HttpReply::Page("Rank_1:1:4", "text/plain"));
    m_server.Serve(Endpoint::YahooSiteExplorer, "/search", {},
                   HttpReply::Page("<html><body><div id=\"main\"><span class=\"btn\">Inlinks (1,234)"
                                   "</span></div></body></html>"));
    m_server.Serve(
        Endpoint::AlexaData, "/data", {},
        HttpReply::Page("<ALEXA><SD><POPULARITY URL=\"x/\" TEXT=\"45,678\"/></SD></ALEXA>", "text/xml"));
    m_server.Serve(Endpoint::GoogleKeywordTool, "/select/KeywordToolCaptcha", {}, PicturePage());
}

void KindServices::ServeKeywordIdeas() {
    m_server.ServeFile(Endpoint::GoogleKeywordTool, "/select/VariationsTool", {"keywords=blue widgets"},
                       u"kind1/keyword_tool.js"_s);
    m_server.Serve(Endpoint::GoogleKeywordTool, "/select/VariationsTool", {"keywords=red widgets"},
                   HttpReply::Page("var criteria = new Array();\n", "text/javascript"));
    m_server.ServeFile(Endpoint::WordtrackerFree, "/", {"seed=blue widgets"},
                       u"kind1/free_suggest_blue.html"_s);
    m_server.Serve(Endpoint::WordtrackerFree, "/", {"seed=red widgets"}, Failing());
    m_server.ServeFile(Endpoint::AskWeb, "/web", {"q=blue widgets"}, u"kind1/ask_blue.html"_s);
    m_server.ServeFile(Endpoint::AskWeb, "/web", {"q=red widgets"}, u"kind1/ask_red.html"_s);
    m_server.ServeFile(Endpoint::YahooMarketingSignIn, "/adui/signin/displaySignin.do", {},
                       u"kind1/marketing_signin.html"_s);
    m_server.ServeFile(Endpoint::YahooMarketingSignIn, "/adui/servlet/login", {},
                       u"kind1/marketing_signin.html"_s);
    m_server.Serve(Endpoint::YahooMarketing, "/adui/campaign/kwSuggestionAjaxProcessor.do", {},
                   DataPage("kind1/marketing_suggest.xml", "text/xml"));
    m_server.ServeFile(Endpoint::BingAdCenter, "/Default.aspx", {}, u"kind1/research_signin.html"_s);
    m_server.ServeFile(Endpoint::BingAdCenter, "/Research/KeywordResearcher.aspx", {},
                       u"kind1/research.html"_s);
}

void KindServices::ServeNicheResearch() {
    m_server.ServeFile(Endpoint::GoogleKeywordTool, "/select/VariationsTool", {"keywords=red shoes"},
                       u"kind2/tool_reply.js"_s);
    const struct {
        Endpoint endpoint;
        const char* query;
        const char* file;
    } pages[] = {
        {Endpoint::GoogleWeb, "q=red shoes", "kind2/google_red.html"},
        {Endpoint::GoogleWeb, "q=blue shoes", "kind2/google_blue.html"},
        {Endpoint::GoogleWeb, "q=green shoes", "kind2/google_green.html"},
        {Endpoint::BingWeb, "q=red shoes", "kind2/bing_red.html"},
        {Endpoint::BingWeb, "q=green shoes", "kind2/bing_green.html"},
        {Endpoint::YahooWeb, "p=red shoes", "kind2/yahoo_red.html"},
        {Endpoint::YahooWeb, "p=blue shoes", "kind2/yahoo_blue.html"},
    };
    for (const auto& page : pages)
        m_server.Serve(page.endpoint, "/search", {page.query}, DataPage(page.file));
    // Bing is unavailable for blue shoes (503) and Yahoo fails for green shoes: their cells read "Failed".
    m_server.Serve(Endpoint::YahooWeb, "/search", {"p=green shoes"}, Failing());
    HttpReply unavailable = HttpReply::Page("<html><body>unavailable</body></html>");
    unavailable.status = 503;
    unavailable.reason = "Service Unavailable";
    m_server.Serve(Endpoint::BingWeb, "/search", {"q=blue shoes"}, unavailable);
    m_server.Serve(Endpoint::BingAdLab, kIntentPath, {"txtQuery=red shoes"}, IntentPage("red shoes", "0.37"));
    m_server.Serve(Endpoint::BingAdLab, kIntentPath, {"txtQuery=blue shoes"},
                   IntentPage("blue shoes", "0.91"));
    m_server.Serve(Endpoint::BingAdLab, kIntentPath, {"txtQuery=green shoes"},
                   IntentPage("old query", "0.5"));
}

void KindServices::ServeChronicle() {
    const std::string keyword = "q=blue widgets";
    m_server.ServeFile(Endpoint::GoogleWeb, "/search", {keyword, "start=0"}, u"kind3/google_page1.html"_s);
    m_server.ServeFile(Endpoint::GoogleWeb, "/search", {keyword, "start=10"}, u"kind3/google_page2.html"_s);
    m_server.ServeFile(Endpoint::GoogleWeb, "/search", {keyword, "start=20"}, u"kind3/google_page3.html"_s);
    m_server.ServeFile(Endpoint::BingWeb, "/search", {keyword, "first=0"}, u"kind3/bing_page1.html"_s);
    m_server.Serve(Endpoint::BingWeb, "/search", {keyword, "first=10"}, Failing());
    m_server.ServeFile(Endpoint::BingWeb, "/search", {keyword, "first=20"}, u"kind3/bing_page3.html"_s);
    // "b=1" is also part of "b=11" and "b=21": the rules added later win.
    m_server.ServeFile(Endpoint::YahooWeb, "/search", {"p=blue widgets", "b=1"}, u"kind3/yahoo_page1.html"_s);
    m_server.ServeFile(Endpoint::YahooWeb, "/search", {"p=blue widgets", "b=11"},
                       u"kind3/yahoo_page2.html"_s);
    m_server.ServeFile(Endpoint::YahooWeb, "/search", {"p=blue widgets", "b=21"},
                       u"kind3/yahoo_page3.html"_s);
}

void KindServices::ServeRankSummit() {
    m_server.ServeFile(Endpoint::GoogleKeywordTool, "/select/VariationsTool", {"keywords=red gadgets"},
                       u"kind4/keyword_tool.js"_s);
    const struct {
        const char* keyword;
        const char* google;
        const char* bing;
        const char* yahoo;
    } keywords[] = {
        {"red gadgets", "kind4/google_red_gadgets.html", "kind4/bing_red_gadgets.html", nullptr},
        {"green gadgets", "kind4/google_blue_widgets.html", "kind4/bing_blue_widgets.html",
         "kind4/yahoo_blue_widgets.html"},
    };
    for (const auto& k : keywords) {
        m_server.Serve(Endpoint::GoogleWeb, "/search", {std::string("q=") + k.keyword}, DataPage(k.google));
        m_server.Serve(Endpoint::BingWeb, "/search", {std::string("q=") + k.keyword}, DataPage(k.bing));
        // Yahoo fails for red gadgets, as in the tests.
        m_server.Serve(Endpoint::YahooWeb, "/search", {std::string("p=") + k.keyword},
                       k.yahoo ? DataPage(k.yahoo) : Failing());
    }
}

void KindServices::ServeOffers() {
    m_server.ServeFile(Endpoint::GoogleWeb, "/search", {"q=widgets affiliate program"},
                       u"kind8/google_affiliate.html"_s);
    m_server.ServeFile(Endpoint::GoogleWeb, "/search", {"q=widgets CPA offer"}, u"kind8/google_cpa.html"_s);
    m_server.ServeFile(Endpoint::BingWeb, "/search", {"q=widgets affiliate program"},
                       u"kind8/bing_affiliate.html"_s);
    m_server.Serve(Endpoint::BingWeb, "/search", {"q=widgets CPA offer"}, Failing());
    m_server.ServeFile(Endpoint::YahooWeb, "/search", {"p=widgets affiliate program"},
                       u"kind8/yahoo_affiliate.html"_s);
    m_server.ServeFile(Endpoint::YahooWeb, "/search", {"p=widgets CPA offer"}, u"kind8/yahoo_cpa.html"_s);
}

} // namespace trykinds

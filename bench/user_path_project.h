#pragma once

// Kind-2 projects made by a real run against the loopback fixture server of the tests: the crawler and the
// server with every service of kind 2 pointed at it, the page a project's view lives in, and a finished
// project scaled up to any number of keywords by copying its records under distinct keywords.
#include "app/project_file.h"
#include "core/atomic_file.h"
#include "net/crawler.h"
#include "net/saved_file.h"
#include "parsers/bing_search.h"
#include "parsers/endpoints.h"
#include "parsers/google_search.h"
#include "parsers/picture_code_prompt.h"
#include "parsers/yahoo_search.h"
#include "platform/device_context.h"
#include "projects/kind2/project2.h"
#include "resources/skin_resources.h"
#include "skin/skin_atlas.h"
#include "skin/skin_dlg.h"
#include "tests/support/http_server.h"

#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace user_path {

inline std::string ReadPage(const char* name) {
    QFile file(QStringLiteral(TW_PROJECTS_TEST_DATA_DIR "/kind2/") + QLatin1StringView(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

inline QString Keyword(int i) {
    return QStringLiteral("blue widget ") + QString::number(i);
}

// The keyword tool's answer: a row for each of the first count keywords.
inline std::string ToolReply(int count) {
    std::string reply = "var criteria = new Array();\n";
    for (int i = 0; i < count; ++i)
        reply += "criteria[" + std::to_string(i) + "] = new kpCriterion('" + Keyword(i).toStdString() +
                 "', 'f1', '" + std::to_string(100 + i * 7) + "', 'f3', 'f4', 'f5', '0.5', '$" +
                 std::to_string(i % 9) +
                 ".25', 'f8', '2', 'f10', 'f11', 'f12', 'f13', 'f14', 'f15', kpView.MATCH_EXACT);\n";
    return reply;
}

// The view a project page lives in, opened without a modal loop and hidden again.
class PageDialog : public CSkinDlg {
  public:
    PageDialog() {
        m_width = 1280;
        m_height = 800;
        m_keepPosition = true;
        onInitDialog();
        onActivate(true);
        hide();
    }
    void CreateElements() override {}
};

// The crawler (installed as g_pCrawler while it lives) and the fixture server answering every service of
// kind 2 for the first `keywords` keywords: three ads on every engine's page.
class Kind2Fixture {
  public:
    explicit Kind2Fixture(int keywords) {
        crawler.Init();
        crawler.allowCourtesy = false;
        g_pCrawler = &crawler;
        const auto point = [&](Endpoint endpoint, const char* prefix) {
            endpoints::Set(endpoint, {QStringLiteral("http"), QStringLiteral("127.0.0.1"), server.Port(),
                                      QString::fromLatin1(prefix)});
        };
        point(Endpoint::GoogleKeywordTool, "/tool");
        point(Endpoint::GoogleWeb, "/google");
        point(Endpoint::BingWeb, "/bing");
        point(Endpoint::YahooWeb, "/yahoo");
        point(Endpoint::BingAdLab, "/adlab");
        server.SetReply("/tool/select/KeywordToolCaptcha", twtest::HttpReply::Page("picture", "image/jpeg"));
        server.SetReply("/tool/select/VariationsTool",
                        twtest::HttpReply::Page(ToolReply(keywords), "text/javascript"));
        server.SetReply("/google/search", twtest::HttpReply::Page(ReadPage("google_red.html")));
        server.SetReply("/bing/search", twtest::HttpReply::Page(ReadPage("bing_red.html")));
        server.SetReply("/yahoo/search", twtest::HttpReply::Page(ReadPage("yahoo_red.html")));
        std::string intent = ReadPage("intent.html");
        intent.replace(intent.find("%QUERY%"), 7, "red shoes");
        intent.replace(intent.find("%VALUE%"), 7, "0.5");
        server.SetReply("/adlab/Online-Commercial-Intention/Default.aspx", twtest::HttpReply::Page(intent));
        InstallPictureCodePrompt([](CSkinDlg_Base*, const CDownloader&, QString& answer) {
            answer = QStringLiteral("code");
            return kPictureCodeOk;
        });
    }
    ~Kind2Fixture() {
        crawler.StopAll();
        crawler.Shutdown();
        g_pCrawler = nullptr;
        endpoints::ResetToDefaults();
        InstallPictureCodePrompt({});
    }
    Kind2Fixture(const Kind2Fixture&) = delete;
    Kind2Fixture& operator=(const Kind2Fixture&) = delete;

    // The path and query the fixture server sees for an engine's page of the keyword; prefix is the one the
    // engine's endpoint was given.
    using UrlBuilder = void (*)(QString&, const QString&, int, int);
    static std::string Target(UrlBuilder build, const QString& prefix, int keyword) {
        QString url;
        build(url, Keyword(keyword), -1, -1);
        return url.mid(url.indexOf(prefix + u'/')).toStdString();
    }
    // The keyword gets pages of its own from the three engines, by file name.
    void ServeKeyword(int keyword, const char* google, const char* bing, const char* yahoo) {
        server.SetReply(Target(CDownloader_Parsers::BuildGoogleSearchUrl, QStringLiteral("/google"), keyword),
                        twtest::HttpReply::Page(ReadPage(google)));
        server.SetReply(Target(CDownloader_Parsers::BuildBingSearchUrl, QStringLiteral("/bing"), keyword),
                        twtest::HttpReply::Page(ReadPage(bing)));
        server.SetReply(Target(CDownloader_Parsers::BuildYahooSearchUrl, QStringLiteral("/yahoo"), keyword),
                        twtest::HttpReply::Page(ReadPage(yahoo)));
    }

    // A project of the file at path, in a view on page.
    std::unique_ptr<CProject2> Open(const QString& path, PageDialog& page) {
        CDownloader_HTMLTags tree;
        LoadTreeFromFile(tree, path);
        auto project = std::make_unique<CProject2>(crawler.TakeProjectId());
        project->InitInfo();
        project->CreateView(&page.m_rootHolder, &page.m_nextElementId);
        project->LoadXml(&tree);
        return project;
    }

    // Steps the project as the tick does while keepGoing() holds.
    template <typename Predicate> void StepWhile(CProject2& project, Predicate keepGoing) {
        while (keepGoing()) {
            crawler.SetCurrentJob(project.m_id);
            project.Process();
            crawler.SetCurrentJob(-1);
            QThread::usleep(50);
        }
    }

    // A file that starts a project of the first count keywords.
    static bool WriteStartFile(int count, const QString& path) {
        QStringList keywords;
        for (int i = 0; i < count; ++i)
            keywords.append(Keyword(i));
        CDownloader_HTMLTags start;
        start.AddChild(QStringLiteral("Project2"), false)
            ->AddChild(QStringLiteral("main_keyword"), false)
            ->SetText(keywords.join(u';') + u';');
        return SaveTreeToFile(start, path);
    }

    QTemporaryDir home;
    CProjectCrawler crawler{{home.path(), home.filePath(QStringLiteral("data")), {}, {}}};
    twtest::HttpServer server;
};

// The keywords of the real run a large project is scaled up from.
inline constexpr int kRunKeywords = 10;

// Writes a finished kind-2 project of `rows` keywords to path: a real run of kRunKeywords keywords against a
// fixture made for them, whose saved records are copied round-robin, each copy under a keyword of its own,
// with the keyword list to match. As in a real list, few keywords have ads on every engine: one in ten has
// six, three have one, the rest none. Needs the application object and the skin atlas.
inline bool WriteUserPathProject(Kind2Fixture& fixture, int rows, const QString& path) {
    for (int i = 1; i < kRunKeywords; ++i)
        if (i < 4)
            fixture.ServeKeyword(i, "google_green.html", "bing_green.html", "yahoo_blue.html");
        else
            fixture.ServeKeyword(i, "google_blue.html", "bing_green.html", "yahoo_blue.html");
    QByteArray run;
    {
        PageDialog page;
        const QString start = fixture.home.filePath(QStringLiteral("start.twpx"));
        if (!Kind2Fixture::WriteStartFile(kRunKeywords, start))
            return false;
        std::unique_ptr<CProject2> project = fixture.Open(start, page);
        project->Start();
        fixture.StepWhile(*project, [&] { return project->IsRunning(); });
        run = SavedFileBytes(ProjectFileTree(*project));
    }
    // The saved text is copied: the records, each starting on its own line at their depth, and the value
    // of the keyword list and of each record's first key.
    const auto between = [](const QByteArray& text, const QByteArray& open, const QByteArray& close) {
        const qsizetype from = text.indexOf(open);
        const qsizetype to = from < 0 ? -1 : text.indexOf(close, from + open.size());
        return to < 0 ? std::pair<qsizetype, qsizetype>(-1, -1)
                      : std::pair<qsizetype, qsizetype>(from + open.size(), to);
    };
    const QByteArray recordStart = "\r\n      <record>";
    const auto [first, last] = between(run, "<m_records>", "\r\n   </m_records>");
    const auto [input, inputEnd] = between(run, "<main_keyword>", "</main_keyword>");
    if (first < 0 || input < 0 || input > first)
        return false;
    std::vector<QByteArray> records;
    for (qsizetype at = run.indexOf(recordStart, first); at >= 0 && at < last;) {
        const qsizetype next = run.indexOf(recordStart, at + 1);
        records.push_back(run.mid(at, (next < 0 || next > last ? last : next) - at));
        at = next;
    }
    if (records.size() != size_t(kRunKeywords))
        return false;
    QByteArray keywords;
    QByteArray copies;
    for (int i = 0; i < rows; ++i) {
        const QByteArray keyword = Keyword(i).toUtf8();
        QByteArray copy = records[size_t(i % kRunKeywords)];
        const auto [value, valueEnd] = between(copy, "<keyword>", "</keyword>");
        copies += copy.replace(value, valueEnd - value, keyword);
        keywords += keyword + ';';
    }
    QByteArray bytes =
        run.left(input) + keywords + run.mid(inputEnd, first - inputEnd) + copies + run.mid(last);
    return WriteFileAtomically(path, bytes);
}

// Runs the benchmarks offscreen with the shipped atlas; release drops what holds windows before the
// application object goes.
inline int RunBenchmarks(int argc, char** argv, const std::function<void()>& release) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    plat::DeviceContext atlas;
    if (!atlas.loadImage(skin_resources::AtlasPath())) {
        std::fprintf(stderr, "the skin atlas could not be loaded\n");
        return 1;
    }
    skin::SetAtlas(&atlas);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    release();
    skin::SetAtlas(nullptr);
    return 0;
}

} // namespace user_path

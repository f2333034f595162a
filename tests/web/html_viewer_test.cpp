#include "skin/text_escape.h"
#include "skin/web/skin_html_viewer.h"
#include "tests/skin/skin_test_support.h"
#include "tests/support/closed_port.h"
#include "tests/support/http_server.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWebEngineView>
#include <algorithm>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using skintest::TestDialog;
using twtest::HttpReply;

namespace {

// A dialog with a viewer; the browser engine starts with it.
class HtmlViewer : public ::testing::Test {
  protected:
    HtmlViewer() {
        dlg.build = [this](TestDialog& d) {
            viewer.Create(&d.m_rootHolder, d.m_nextElementId++);
            viewer.SetPosition(20, 40, 300, 200, 0);
        };
        dlg.Open();
        // Until the window is exposed, painting waits for the event loop.
        QCoreApplication::processEvents();
    }
    // Runs the event loop as a dialog's timer would poll: until the viewer is idle (when asked) or the time
    // is up. Whether it is idle then.
    bool Wait(int ms, bool untilIdle = true) {
        QElapsedTimer elapsed;
        elapsed.start();
        while (!(untilIdle && viewer.IsIdle()) && elapsed.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return viewer.IsIdle();
    }
    QString Text() {
        QString text;
        viewer.GetPlainText(text);
        return text;
    }
    QString Url(const std::string& path) const { return QString::fromStdString(server.Url(path)); }
    QWebEngineView* View() const { return dlg.widget()->findChild<QWebEngineView*>(); }

    twtest::HttpServer server;
    TestDialog dlg;
    CSkinHTMLViewer viewer;
};

} // namespace

// Busy from the call on, for as long as the server stalls; a page served on loopback becomes idle with its
// text on one line. What the viewer cannot load leaves it idle and the page as it was.
TEST_F(HtmlViewer, NavigatesOnLoopbackAndStaysIdleForWhatItCannotLoad) {
    server.SetReply("/stall", HttpReply::With(HttpReply::Delivery::Stall));
    server.SetReply("/page", HttpReply::Page("<html><body><h1>Keyword  report</h1><p>first\nline</p>"
                                             "<pre>a\r\n\n   b</pre></body></html>"));
    EXPECT_TRUE(viewer.IsIdle());
    ASSERT_TRUE(viewer.Navigate(Url("/stall")));
    EXPECT_FALSE(viewer.IsIdle());
    EXPECT_FALSE(Wait(300));
    ASSERT_TRUE(viewer.Navigate(Url("/page")));
    EXPECT_FALSE(viewer.IsIdle());
    ASSERT_TRUE(Wait(20'000));
    const QString text = u"Keyword report first line a b"_s;
    EXPECT_EQ(Text(), text);
    const std::vector<twtest::RecordedRequest> requests = server.Requests();
    EXPECT_TRUE(
        std::any_of(requests.begin(), requests.end(), [](const auto& r) { return r.target == "/page"; }));

    struct Case {
        QString url;
        bool accepted;
    };
    const Case cases[] = {{QString(), false},
                          {u"not a web address"_s, false},
                          {u"javascript:document.body.innerHTML='gone'"_s, false},
                          {u"http://"_s, false},
                          {Url("/page#further-down"), true}};
    for (const Case& c : cases) {
        EXPECT_EQ(viewer.Navigate(c.url), c.accepted) << c.url.toStdString();
        EXPECT_TRUE(viewer.IsIdle()) << c.url.toStdString();
        Wait(50, false);
        EXPECT_EQ(Text(), text) << c.url.toStdString();
    }
}

// Each document replaces the one before, whatever its size: the engine takes at most 2 MiB inline once
// percent-encoded, so a long one and a shorter one of Cyrillic text come through a temporary file that only
// this user can read, and that goes with the next document.
TEST_F(HtmlViewer, WritesDocumentsOfAnySizeAndReadsTheirText) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QByteArray oldTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", temp.path().toUtf8());
    const auto documents = [&] { return QDir(temp.path()).entryInfoList({u"*.html"_s}, QDir::Files); };

    QStringList paragraphs;
    for (int i = 0; paragraphs.size() * 1000 < 3'000'000; ++i)
        paragraphs.push_back(u"keyword research %1 "_s.arg(i).repeated(40).trimmed());
    const QString cyrillic = u"ключевое слово"_s.repeated(50'000);
    struct Case {
        QString html;
        QString text;
        bool throughFile;
    };
    const Case cases[] = {
        {u"<body>a<br>b</body>"_s, u"a b"_s, false},
        {u"<body><p>"_s + paragraphs.join(u"</p><p>"_s) + u"</p></body>"_s, paragraphs.join(u' '), true},
        {u"<body>"_s + cyrillic + u"</body>"_s, cyrillic, true},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(viewer.WriteHTML(c.html));
        EXPECT_FALSE(viewer.IsIdle());
        ASSERT_TRUE(Wait(20'000)) << c.text.left(20).toStdString();
        const QString text = Text();
        EXPECT_TRUE(text == c.text) << text.size() << ": " << text.left(60).toStdString();
        const QFileInfoList files = documents();
        ASSERT_EQ(files.size(), c.throughFile ? 1 : 0);
        if (c.throughFile) {
            const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                              QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
            EXPECT_EQ((files[0].permissions() & others).toInt(), 0);
        }
    }
    qputenv("TMPDIR", oldTemp);
}

// Scripts run in the page's global scope; whether one ran to its end is the answer. Alerts, confirmations,
// console messages and script errors open no window.
TEST_F(HtmlViewer, SuppressScriptErrorsAnswersWhetherTheScriptRan) {
    ASSERT_TRUE(viewer.WriteHTML(u"<body>start</body>"_s));
    ASSERT_TRUE(Wait(20'000));
    const QWidgetList windows = QApplication::topLevelWidgets();
    struct Case {
        QString script;
        bool ran;
    };
    const Case cases[] = {
        {u"function twice(n) { return 2 * n; }"_s, true},
        {u"document.body.textContent = 'x' + twice(21); // the last line is a comment"_s, true},
        {u"alert('hello'); confirm('sure?'); console.log('noise'); prompt('name?')"_s, true},
        {u"undefinedFunction();"_s, false},
        {u"this is not a script"_s, false},
        {u"throw new Error('boom')"_s, false},
        {u"setTimeout(function () { undefinedLater(); }, 0)"_s, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(viewer.SuppressScriptErrors(c.script), c.ran) << c.script.toStdString();
    Wait(100, false);
    EXPECT_EQ(Text(), u"x42"_s);
    for (const QWidget* w : QApplication::topLevelWidgets())
        EXPECT_TRUE(windows.contains(w)) << w->metaObject()->className();
}

// The view shows where the element is drawn and only while it is; once released, nothing answers.
TEST_F(HtmlViewer, ViewFollowsTheElementAndGoesWithTheBrowser) {
    dlg.redrawNow();
    QWebEngineView* view = View();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->geometry(), QRect(20, 40, 300, 200));
    viewer.SetPosition(60, 80, 200, 100, 0);
    EXPECT_EQ(view->geometry(), QRect(60, 80, 200, 100));
    for (const bool visible : {false, true}) {
        viewer.SetVisible(visible);
        dlg.redrawNow();
        EXPECT_EQ(view->isVisible(), visible);
    }
    viewer.ReleaseBrowser();
    EXPECT_EQ(View(), nullptr);
    QString text = u"left over"_s;
    EXPECT_FALSE(viewer.IsIdle() || viewer.Navigate(Url("/")) || viewer.WriteHTML(u"<p>x</p>"_s) ||
                 viewer.SuppressScriptErrors(u"1"_s) || viewer.GetPlainText(text));
    EXPECT_TRUE(text.isEmpty());
    dlg.redrawNow();
}

// An expression's value comes back as text, exactly, and becomes the document's title; what cannot be
// evaluated answers false. Escaped for a script string, any text comes back as it was, in either quotes;
// escaped as markup, it shows as the text it was.
TEST_F(HtmlViewer, EvalScriptAnswersTheValueAndEscapedTextSurvives) {
    ASSERT_TRUE(viewer.WriteHTML(u"<body><p id=k>alpha</p></body>"_s));
    ASSERT_TRUE(Wait(20'000));
    QString value;
    EXPECT_TRUE(viewer.EvalScript(u"document.getElementById('k').textContent"_s, value));
    EXPECT_EQ(value, u"alpha"_s);
    EXPECT_TRUE(viewer.EvalScript(u"6 * 7"_s, value));
    EXPECT_EQ(value, u"42"_s);
    QElapsedTimer elapsed;
    elapsed.start();
    while (viewer.GetHTMLDocument().title() != u"42"_s && elapsed.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(viewer.GetHTMLDocument().title(), u"42"_s);
    for (const QString& broken : {u"this is not a script"_s, u"undefinedName"_s, u"1 +"_s}) {
        value = u"left over"_s;
        EXPECT_FALSE(viewer.EvalScript(broken, value)) << broken.toStdString();
        EXPECT_TRUE(value.isEmpty());
    }

    const QString texts[] = {u"it's \"quoted\""_s, u"back\\slash at the end\\"_s,
                             u"two\nlines\r\nand  blanks"_s, u"<b>5 & 6</b> &lt; done"_s};
    for (const QString& text : texts) {
        for (const QChar quote : {u'\'', u'"'}) {
            ASSERT_TRUE(viewer.EvalScript(quote + EscapeScriptString(text) + quote, value))
                << text.toStdString();
            EXPECT_EQ(value, text);
        }
    }
    ASSERT_TRUE(viewer.WriteHTML(u"<body>"_s + EscapeMarkup(texts[3]) + u"</body>"_s));
    ASSERT_TRUE(Wait(20'000));
    EXPECT_EQ(Text(), texts[3]);
}

// The address and a handle to the document loaded; the handle answers for its document only. With a
// completion command set, every load that ends tells the dialog whether it loaded; without one, none does.
TEST_F(HtmlViewer, LocationDocumentAndCompletionCommand) {
    server.SetReply("/page",
                    HttpReply::Page("<html><head><title>Report</title></head><body>x</body></html>"));
    ASSERT_TRUE(viewer.Navigate(Url("/page")));
    ASSERT_TRUE(Wait(20'000));
    QString location;
    EXPECT_TRUE(viewer.GetLocationURL(location));
    EXPECT_EQ(location, Url("/page"));
    EXPECT_EQ(viewer.m_completedURL, Url("/page"));
    EXPECT_TRUE(dlg.commands.isEmpty()) << "no command set";
    const plat::WebDocument document = viewer.GetHTMLDocument();
    EXPECT_TRUE(document.isValid());
    EXPECT_EQ(document.url(), Url("/page"));
    EXPECT_EQ(document.title(), u"Report"_s);

    viewer.m_completeCommand = u"HTMLviewCompleted"_s;
    ASSERT_TRUE(viewer.WriteHTML(u"<body>next</body>"_s));
    ASSERT_TRUE(Wait(20'000));
    Wait(100, false);
    EXPECT_FALSE(document.isValid()) << "another document loaded";
    EXPECT_TRUE(document.url().isEmpty() && document.title().isEmpty());
    EXPECT_EQ(dlg.commands, QStringList{u"HTMLviewCompleted"_s});
    EXPECT_EQ(dlg.params, std::vector<int>{1});

    twtest::ClosedPort closed;
    const QString refused = u"http://127.0.0.1:%1/gone"_s.arg(closed.Port());
    ASSERT_TRUE(viewer.Navigate(refused));
    ASSERT_TRUE(Wait(20'000));
    Wait(100, false);
    EXPECT_EQ(dlg.commands.size(), 2);
    EXPECT_EQ(dlg.params.back(), 0);
    EXPECT_EQ(viewer.m_requestedURL, refused);

    viewer.ReleaseBrowser();
    EXPECT_FALSE(viewer.GetHTMLDocument().isValid());
    EXPECT_FALSE(viewer.GetLocationURL(location));
    EXPECT_FALSE(viewer.EvalScript(u"1"_s, location));
}

// Offline, neither a page's pictures, scripts and requests nor a navigation reach the server; online again,
// the same page asks for them.
TEST_F(HtmlViewer, OfflineTheViewMakesNoRequest) {
    server.SetDefaultReply(HttpReply::Page("ok", "text/plain"));
    const QString page = u"<body><img src='%1'><script src='%2'></script><script>fetch('%3');</script>"
                         "<link rel=stylesheet href='%4'>text</body>"_s.arg(Url("/pic.png"), Url("/code.js"),
                                                                            Url("/data"), Url("/look.css"));
    viewer.m_completeCommand = u"done"_s;
    viewer.SetOffline(true);
    EXPECT_TRUE(viewer.m_offline);
    ASSERT_TRUE(viewer.WriteHTML(page));
    ASSERT_TRUE(Wait(20'000));
    Wait(500, false);
    EXPECT_EQ(Text(), u"text"_s) << "what the page carries still shows";
    ASSERT_TRUE(viewer.Navigate(Url("/page")));
    ASSERT_TRUE(Wait(20'000));
    Wait(300, false);
    EXPECT_EQ(server.Requests().size(), 0u);
    EXPECT_EQ(server.ConnectionCount(), 0);
    EXPECT_EQ(dlg.params.back(), 0) << "the navigation did not load";

    viewer.SetOffline(false);
    ASSERT_TRUE(viewer.WriteHTML(page));
    ASSERT_TRUE(Wait(20'000));
    QElapsedTimer elapsed;
    elapsed.start();
    while (server.Requests().size() < 4 && elapsed.elapsed() < 10'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::vector<std::string> targets;
    for (const twtest::RecordedRequest& r : server.Requests())
        targets.push_back(r.target);
    std::sort(targets.begin(), targets.end());
    EXPECT_EQ(targets, (std::vector<std::string>{"/code.js", "/data", "/look.css", "/pic.png"}));
}

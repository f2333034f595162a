#include "skin/text_escape.h"
#include "skin/web/skin_html_viewer.h"
#include "tests/support/closed_port.h"
#include "tests/support/http_server.h"
#include "tests/support/skin_test_support.h"

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
        m_dlg.build = [this](TestDialog& d) {
            m_viewer.Create(&d.m_rootHolder, d.m_nextElementId++);
            m_viewer.SetPosition(20, 40, 300, 200, 0);
        };
        m_dlg.Open();
        // Until the window is exposed, painting waits for the event loop.
        QCoreApplication::processEvents();
    }
    // Runs the event loop as a dialog's timer would poll: until the viewer is idle (when asked) or the time
    // is up. Whether it is idle then.
    bool Wait(int ms, bool untilIdle = true) {
        QElapsedTimer elapsed;
        elapsed.start();
        while (!(untilIdle && m_viewer.IsIdle()) && elapsed.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return m_viewer.IsIdle();
    }
    QString Text() {
        QString text;
        m_viewer.GetPlainText(text);
        return text;
    }
    QString Url(const std::string& path) const { return QString::fromStdString(m_server.Url(path)); }
    QWebEngineView* View() const { return m_dlg.widget()->findChild<QWebEngineView*>(); }

    twtest::HttpServer m_server;
    TestDialog m_dlg;
    CSkinHTMLViewer m_viewer;
};

} // namespace

// Busy from the call on, for as long as the server stalls; a page served on loopback becomes idle with its
// text on one line. What the viewer cannot load leaves it idle and the page as it was.
TEST_F(HtmlViewer, NavigatesOnLoopbackAndStaysIdleForWhatItCannotLoad) {
    m_server.SetReply("/stall", HttpReply::With(HttpReply::Delivery::Stall));
    m_server.SetReply("/page", HttpReply::Page("<html><body><h1>Keyword  report</h1><p>first\nline</p>"
                                               "<pre>a\r\n\n   b</pre></body></html>"));
    EXPECT_TRUE(m_viewer.IsIdle());
    ASSERT_TRUE(m_viewer.Navigate(Url("/stall")));
    EXPECT_FALSE(m_viewer.IsIdle());
    EXPECT_FALSE(Wait(300));
    ASSERT_TRUE(m_viewer.Navigate(Url("/page")));
    EXPECT_FALSE(m_viewer.IsIdle());
    ASSERT_TRUE(Wait(20'000));
    const QString text = u"Keyword report first line a b"_s;
    EXPECT_EQ(Text(), text);
    const std::vector<twtest::RecordedRequest> requests = m_server.Requests();
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
        EXPECT_EQ(m_viewer.Navigate(c.url), c.accepted) << c.url.toStdString();
        EXPECT_TRUE(m_viewer.IsIdle()) << c.url.toStdString();
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
        ASSERT_TRUE(m_viewer.WriteHTML(c.html));
        EXPECT_FALSE(m_viewer.IsIdle());
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
    ASSERT_TRUE(m_viewer.WriteHTML(u"<body>start</body>"_s));
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
        EXPECT_EQ(m_viewer.SuppressScriptErrors(c.script), c.ran) << c.script.toStdString();
    Wait(100, false);
    EXPECT_EQ(Text(), u"x42"_s);
    for (const QWidget* w : QApplication::topLevelWidgets())
        EXPECT_TRUE(windows.contains(w)) << w->metaObject()->className();
}

// The view shows where the element is drawn and only while it is; once released, nothing answers.
TEST_F(HtmlViewer, ViewFollowsTheElementAndGoesWithTheBrowser) {
    m_dlg.RedrawNow();
    QWebEngineView* view = View();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->geometry(), QRect(20, 40, 300, 200));
    m_viewer.SetPosition(60, 80, 200, 100, 0);
    EXPECT_EQ(view->geometry(), QRect(60, 80, 200, 100));
    for (const bool visible : {false, true}) {
        m_viewer.SetVisible(visible);
        m_dlg.RedrawNow();
        EXPECT_EQ(view->isVisible(), visible);
    }
    m_viewer.ReleaseBrowser();
    EXPECT_EQ(View(), nullptr);
    QString text = u"left over"_s;
    EXPECT_FALSE(m_viewer.IsIdle() || m_viewer.Navigate(Url("/")) || m_viewer.WriteHTML(u"<p>x</p>"_s) ||
                 m_viewer.SuppressScriptErrors(u"1"_s) || m_viewer.GetPlainText(text));
    EXPECT_TRUE(text.isEmpty());
    m_dlg.RedrawNow();
}

// An expression's value comes back as text, exactly, and becomes the document's title; what cannot be
// evaluated answers false. Escaped for a script string, any text comes back as it was, in either quotes;
// escaped as markup, it shows as the text it was.
TEST_F(HtmlViewer, EvalScriptAnswersTheValueAndEscapedTextSurvives) {
    ASSERT_TRUE(m_viewer.WriteHTML(u"<body><p id=k>alpha</p></body>"_s));
    ASSERT_TRUE(Wait(20'000));
    QString value;
    EXPECT_TRUE(m_viewer.EvalScript(u"document.getElementById('k').textContent"_s, value));
    EXPECT_EQ(value, u"alpha"_s);
    EXPECT_TRUE(m_viewer.EvalScript(u"6 * 7"_s, value));
    EXPECT_EQ(value, u"42"_s);
    QElapsedTimer elapsed;
    elapsed.start();
    while (m_viewer.GetHTMLDocument().title() != u"42"_s && elapsed.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(m_viewer.GetHTMLDocument().title(), u"42"_s);
    for (const QString& broken : {u"this is not a script"_s, u"undefinedName"_s, u"1 +"_s}) {
        value = u"left over"_s;
        EXPECT_FALSE(m_viewer.EvalScript(broken, value)) << broken.toStdString();
        EXPECT_TRUE(value.isEmpty());
    }

    const QString texts[] = {u"it's \"quoted\""_s, u"back\\slash at the end\\"_s,
                             u"two\nlines\r\nand  blanks"_s, u"<b>5 & 6</b> &lt; done"_s};
    for (const QString& text : texts) {
        for (const QChar quote : {u'\'', u'"'}) {
            ASSERT_TRUE(m_viewer.EvalScript(quote + EscapeScriptString(text) + quote, value))
                << text.toStdString();
            EXPECT_EQ(value, text);
        }
    }
    ASSERT_TRUE(m_viewer.WriteHTML(u"<body>"_s + EscapeMarkup(texts[3]) + u"</body>"_s));
    ASSERT_TRUE(Wait(20'000));
    EXPECT_EQ(Text(), texts[3]);
}

// The address and a handle to the document loaded; the handle answers for its document only. With a
// completion command set, every load that ends tells the dialog whether it loaded; without one, none does.
TEST_F(HtmlViewer, LocationDocumentAndCompletionCommand) {
    m_server.SetReply("/page",
                      HttpReply::Page("<html><head><title>Report</title></head><body>x</body></html>"));
    ASSERT_TRUE(m_viewer.Navigate(Url("/page")));
    ASSERT_TRUE(Wait(20'000));
    QString location;
    EXPECT_TRUE(m_viewer.GetLocationURL(location));
    EXPECT_EQ(location, Url("/page"));
    EXPECT_EQ(m_viewer.m_completedURL, Url("/page"));
    EXPECT_TRUE(m_dlg.commands.isEmpty()) << "no command set";
    const plat::WebDocument document = m_viewer.GetHTMLDocument();
    EXPECT_TRUE(document.isValid());
    EXPECT_EQ(document.url(), Url("/page"));
    EXPECT_EQ(document.title(), u"Report"_s);

    m_viewer.m_completeCommand = u"HTMLviewCompleted"_s;
    ASSERT_TRUE(m_viewer.WriteHTML(u"<body>next</body>"_s));
    ASSERT_TRUE(Wait(20'000));
    Wait(100, false);
    EXPECT_FALSE(document.isValid()) << "another document loaded";
    EXPECT_TRUE(document.url().isEmpty() && document.title().isEmpty());
    EXPECT_EQ(m_dlg.commands, QStringList{u"HTMLviewCompleted"_s});
    EXPECT_EQ(m_dlg.params, std::vector<int>{1});

    twtest::ClosedPort closed;
    const QString refused = u"http://127.0.0.1:%1/gone"_s.arg(closed.Port());
    ASSERT_TRUE(m_viewer.Navigate(refused));
    ASSERT_TRUE(Wait(20'000));
    Wait(100, false);
    EXPECT_EQ(m_dlg.commands.size(), 2);
    EXPECT_EQ(m_dlg.params.back(), 0);
    EXPECT_EQ(m_viewer.m_requestedURL, refused);

    m_viewer.ReleaseBrowser();
    EXPECT_FALSE(m_viewer.GetHTMLDocument().isValid());
    EXPECT_FALSE(m_viewer.GetLocationURL(location));
    EXPECT_FALSE(m_viewer.EvalScript(u"1"_s, location));
}

// Offline, neither a page's pictures, scripts and requests nor a navigation reach the server; online again,
// the same page asks for them.
TEST_F(HtmlViewer, OfflineTheViewMakesNoRequest) {
    m_server.SetDefaultReply(HttpReply::Page("ok", "text/plain"));
    const QString page = u"<body><img src='%1'><script src='%2'></script><script>fetch('%3');</script>"
                         "<link rel=stylesheet href='%4'>text</body>"_s.arg(Url("/pic.png"), Url("/code.js"),
                                                                            Url("/data"), Url("/look.css"));
    m_viewer.m_completeCommand = u"done"_s;
    m_viewer.SetOffline(true);
    EXPECT_TRUE(m_viewer.m_offline);
    ASSERT_TRUE(m_viewer.WriteHTML(page));
    ASSERT_TRUE(Wait(20'000));
    Wait(500, false);
    EXPECT_EQ(Text(), u"text"_s) << "what the page carries still shows";
    ASSERT_TRUE(m_viewer.Navigate(Url("/page")));
    ASSERT_TRUE(Wait(20'000));
    Wait(300, false);
    EXPECT_EQ(m_server.Requests().size(), 0u);
    EXPECT_EQ(m_server.ConnectionCount(), 0);
    EXPECT_EQ(m_dlg.params.back(), 0) << "the navigation did not load";

    m_viewer.SetOffline(false);
    ASSERT_TRUE(m_viewer.WriteHTML(page));
    ASSERT_TRUE(Wait(20'000));
    QElapsedTimer elapsed;
    elapsed.start();
    while (m_server.Requests().size() < 4 && elapsed.elapsed() < 10'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::vector<std::string> targets;
    for (const twtest::RecordedRequest& r : m_server.Requests())
        targets.push_back(r.target);
    std::sort(targets.begin(), targets.end());
    EXPECT_EQ(targets, (std::vector<std::string>{"/code.js", "/data", "/look.css", "/pic.png"}));
}

#include "platform/web/web_view.h"

#include "platform/answer_wait.h"
#include "platform/web/browser_process.h"
#include "platform/web/offline_interceptor.h"
#include "platform/web/quiet_page.h"
#include "platform/window.h"

#include <QDir>
#include <QPointer>
#include <QTemporaryFile>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

using namespace Qt::StringLiterals;

namespace plat {

namespace {

// The engine refuses a data URL longer than 2 MiB, which is what an inline document becomes once
// percent-encoded.
constexpr qsizetype kDataUrlLimit = 2 * 1024 * 1024;
constexpr QByteArrayView kDataUrlPrefix = "data:text/html;charset=UTF-8,";

bool FitsInline(const QByteArray& utf8) {
    return utf8.size() + kDataUrlPrefix.size() <= kDataUrlLimit &&
           utf8.toPercentEncoding().size() + kDataUrlPrefix.size() <= kDataUrlLimit;
}

// The engine starts no load at all for these, so the view would never become idle.
bool IsLoadable(const QUrl& url) {
    if (!url.isValid() || url.isRelative())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == "javascript"_L1)
        return false;
    return !((scheme == "http"_L1 || scheme == "https"_L1) && url.host().isEmpty());
}

// A jump to a fragment of the page already shown: the engine moves within the page and loads nothing.
bool IsJumpWithin(const QUrl& current, const QUrl& url) {
    return url.hasFragment() && url.adjusted(QUrl::RemoveFragment) == current.adjusted(QUrl::RemoveFragment);
}

} // namespace

struct WebView::Engine {
    explicit Engine(QWidget* host) {
        profile = std::make_unique<QWebEngineProfile>();
        // A document from a temporary file reads no other file, as an inline one cannot.
        profile->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
        // Named addresses are looked up when they are asked for, never ahead.
        profile->settings()->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
        interceptor = std::make_unique<OfflineInterceptor>();
        profile->setUrlRequestInterceptor(interceptor.get());
        page = std::make_unique<QuietPage>(profile.get());
        view = new QWebEngineView(host);
        view->setPage(page.get());
        view->setContextMenuPolicy(Qt::NoContextMenu);
        view->hide();
        // Until the engine reports a load of its own, the request is what keeps the view busy.
        const auto taken = [this] { requested = false; };
        QObject::connect(page.get(), &QWebEnginePage::loadStarted, page.get(), taken);
        QObject::connect(page.get(), &QWebEnginePage::loadFinished, page.get(), taken);
        QObject::connect(page.get(), &QWebEnginePage::urlChanged, page.get(), taken);
        QObject::connect(
            page.get(), &QWebEnginePage::loadStarted, page.get(), [this] { ++documentState->loads; });
        QObject::connect(
            page.get(), &QWebEnginePage::urlChanged, page.get(),
            [this](const QUrl& url) { documentState->url = url.toString(); });
        QObject::connect(page.get(), &QWebEnginePage::titleChanged, page.get(),
                         [this](const QString& title) { documentState->title = title; });
        QObject::connect(page.get(), &QWebEnginePage::loadFinished, page.get(), [this](bool ok) {
            // The handler may end the view: nothing here is touched after it.
            if (const std::function<void(bool)> told = finished)
                told(ok);
        });
    }
    ~Engine() {
        // The view first, then its page, then the profile the page lives in.
        delete view.data();
        page.reset();
        profile.reset();
        interceptor.reset();
    }

    // Outlives the profile that asks it.
    std::unique_ptr<OfflineInterceptor> interceptor;
    std::unique_ptr<QWebEngineProfile> profile;
    std::unique_ptr<QuietPage> page;
    // Owned by the host widget too, which may go first.
    QPointer<QWebEngineView> view;
    std::unique_ptr<QTemporaryFile> document;
    bool requested = false;
    std::shared_ptr<WebDocumentState> documentState = std::make_shared<WebDocumentState>();
    std::function<void(bool)> finished;
};

WebView::WebView(Window& host) {
    PrepareBrowserProcess();
    m_d = std::make_unique<Engine>(host.widget());
}

WebView::~WebView() = default;

void WebView::setGeometry(const Rect& rect) {
    if (m_d->view)
        m_d->view->setGeometry(rect.left, rect.top, rect.width(), rect.height());
}

void WebView::setVisible(bool visible) {
    if (m_d->view && m_d->view->isVisible() != visible)
        m_d->view->setVisible(visible);
}

void WebView::setFocus() {
    if (m_d->view)
        m_d->view->setFocus(Qt::OtherFocusReason);
}

bool WebView::isIdle() const {
    return !m_d->requested && !m_d->page->isLoading();
}

bool WebView::navigate(const QString& text) {
    const QUrl url(text);
    if (!IsLoadable(url))
        return false;
    m_d->requested = !IsJumpWithin(m_d->page->url(), url);
    m_d->page->load(url);
    m_d->document.reset();
    return true;
}

bool WebView::setHtml(const QString& html) {
    const QByteArray utf8 = html.toUtf8();
    if (FitsInline(utf8)) {
        m_d->requested = true;
        m_d->page->setHtml(html);
        m_d->document.reset();
        return true;
    }
    // Created readable by this user alone; the byte order mark tells the engine the encoding.
    auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + u"/tarnwick-XXXXXX.html"_s);
    if (!file->open() || file->write("\xEF\xBB\xBF") != 3 || file->write(utf8) != utf8.size() ||
        !file->flush())
        return false;
    file->close();
    m_d->requested = true;
    m_d->page->load(QUrl::fromLocalFile(file->fileName()));
    m_d->document = std::move(file);
    return true;
}

bool WebView::runScript(const QString& script, QVariant* result) {
    QuietPage* page = m_d->page.get();
    return WaitForAnswer(
        kAnswerLimitMs,
        [page, &script](const AnswerSink& sink) {
            page->runJavaScript(script, QWebEngineScript::MainWorld, sink);
        },
        result);
}

bool WebView::bodyText(QString* text) {
    QuietPage* page = m_d->page.get();
    QVariant value;
    // In a script world of our own: nothing the page's scripts changed affects the reading.
    const bool answered = WaitForAnswer(
        kAnswerLimitMs,
        [page](const AnswerSink& sink) {
            page->runJavaScript(u"document.body ? document.body.innerText : null"_s,
                                QWebEngineScript::ApplicationWorld, sink);
        },
        &value);
    if (!answered || value.userType() != QMetaType::QString)
        return false;
    *text = value.toString();
    return true;
}

QString WebView::url() const {
    return m_d->page->url().toString();
}

WebDocument WebView::document() const {
    return WebDocument(m_d->documentState, m_d->documentState->loads);
}

void WebView::setOffline(bool offline) {
    m_d->interceptor->setOffline(offline);
}

void WebView::setLoadFinished(std::function<void(bool ok)> finished) {
    m_d->finished = std::move(finished);
}

} // namespace plat

#pragma once

#include "platform/geometry.h"
#include "platform/web/web_document.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

namespace plat {

class Window;

// A browser view placed over part of a window. Each view has an off-the-record profile of its own: nothing
// it visits is kept on disk. Pages never open windows (QuietPage). The engine answers scripts later: the
// operations with a result wait for it in a local event loop (WaitForAnswer), at most kAnswerLimitMs. The
// view starts hidden.
class WebView {
  public:
    explicit WebView(Window& host);
    ~WebView();
    WebView(const WebView&) = delete;
    WebView& operator=(const WebView&) = delete;

    // In the host's client coordinates.
    void setGeometry(const Rect& rect);
    void setVisible(bool visible);
    // The keyboard goes to the page.
    void setFocus();

    // False from navigate or setHtml until the engine has loaded the page or given up on it.
    bool isIdle() const;
    // A URL the view cannot load (not a URL, no scheme, a script URL, a web address without a host) loads
    // nothing and answers false.
    bool navigate(const QString& url);
    // Any size: a document too large to hand over inline is loaded from a private temporary file.
    bool setHtml(const QString& html);
    // Runs script in the page's own script world, as the page's scripts run; *result is its last value.
    // False when no answer came. Nothing after the wait touches the view, which may have gone meanwhile.
    bool runScript(const QString& script, QVariant* result);
    // The text of the document's body as the page shows it; false without a body or an answer.
    bool bodyText(QString* text);

    // The address of the document shown, or being loaded.
    QString url() const;
    // A handle to the document loaded now.
    WebDocument document() const;
    // Offline, the view sends nothing over the network: a page loads only what it carries in itself, local
    // files and what the program hands it.
    void setOffline(bool offline);
    // Told each time a load ends: whether the document loaded. Null removes it.
    void setLoadFinished(std::function<void(bool ok)> finished);

    // Long enough for a large page's text to cross from the engine.
    static constexpr int kAnswerLimitMs = 10'000;

  private:
    struct Engine;
    std::unique_ptr<Engine> m_d;
};

} // namespace plat

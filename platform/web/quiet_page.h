#pragma once

#include <QWebEnginePage>

namespace plat {

// A page that never opens a window: alerts are dropped, confirmations answered yes (so neither the page nor
// leaving it is held up), prompts cancelled, file choosers answered with no file, new windows refused and
// console messages ignored.
class QuietPage final : public QWebEnginePage {
  public:
    explicit QuietPage(QWebEngineProfile* profile) : QWebEnginePage(profile) {}

  protected:
    void javaScriptAlert(const QUrl& /*origin*/, const QString& /*text*/) override {}
    bool javaScriptConfirm(const QUrl& /*origin*/, const QString& /*text*/) override { return true; }
    bool javaScriptPrompt(const QUrl& /*origin*/, const QString& /*text*/, const QString& /*defaultValue*/,
                          QString* /*result*/) override {
        return false;
    }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel /*level*/, const QString& /*text*/,
                                  int /*line*/, const QString& /*source*/) override {}
    QStringList chooseFiles(FileSelectionMode /*mode*/, const QStringList& /*old*/,
                            const QStringList& /*types*/) override {
        return {};
    }
    QWebEnginePage* createWindow(WebWindowType /*type*/) override { return nullptr; }
};

} // namespace plat

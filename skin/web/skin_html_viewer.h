#pragma once

#include "platform/geometry.h"
#include "platform/web/web_document.h"
#include "skin/skin_element.h"

#include <QString>
#include <memory>

namespace plat {
class WebView;
}

// Shows HTML inside a skinned dialog: a browser view over the element's rectangle, shown while the element is
// drawn. Dialogs show generated HTML in it; a caller can also drive pages with it: navigate, poll IsIdle on
// its timer, read the text, run scripts. Without a browser (after ReleaseBrowser) every operation does
// nothing and answers false or an empty text.
class CSkinHTMLViewer : public CSkinElement {
  public:
    CSkinHTMLViewer();
    ~CSkinHTMLViewer() override;

    // Makes the browser; the caption stays empty and the parameter 0. Tab gives the page the keyboard.
    void Create(CSkinDlgHolder* holder, unsigned id, const QString& caption = QString(),
                const QString& command = QString(), int param = 0,
                const QString& tooltip = QString()) override;
    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;
    void OnPositionChanged() override;
    void OnSetFocus(int x, int y) override;
    void OnDialogPainted() override;
    virtual void ReleaseBrowser();

    // True while a browser exists and is loading nothing; false from Navigate or WriteHTML on, until the
    // page has loaded or failed to.
    bool IsIdle() const;
    // False, with nothing loaded, for a URL the browser cannot load.
    bool Navigate(const QString& url);
    // Replaces the document, whatever its size.
    bool WriteHTML(const QString& html);
    // Silences the page's script errors, then runs script in the page; true when it ran to its end, false
    // for a syntax error, an exception or no answer. No error ever shows.
    bool SuppressScriptErrors(const QString& script);
    // The body's text on one line: each line break becomes a space and each run of spaces one space. Empty,
    // and false, without a body.
    bool GetPlainText(QString& text);
    // Empties the document's title, then sets it to the expression's value; text is that value as text,
    // exactly (the title itself keeps no runs of blanks). False, with text empty, when the expression
    // cannot be evaluated.
    bool EvalScript(const QString& expression, QString& text);
    // The address of the document shown or being loaded; false without a browser.
    bool GetLocationURL(QString& text);
    // A handle to the document loaded now; not valid without a browser.
    plat::WebDocument GetHTMLDocument() const;
    // Offline, the viewer makes no network request: a page shows only what it carries in itself.
    void SetOffline(bool offline);

    // Sent to the dialog each time a load ends, with 1 when the document loaded and 0 when it did not;
    // nothing is sent while it is empty.
    QString m_completeCommand;
    // The address last given to Navigate.
    QString m_requestedURL;
    // The address of the last load that ended well, and of the last one that failed.
    QString m_completedURL;
    QString m_failedURL;
    bool m_offline = false;

  private:
    plat::Rect DialogRect() const;
    void OnLoadFinished(bool ok);

    std::unique_ptr<plat::WebView> m_browser;
    // Drawn in the paint now under way.
    bool m_drawn = false;
};

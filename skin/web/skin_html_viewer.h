#pragma once

#include "platform/geometry.h"
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

  private:
    plat::Rect DialogRect() const;

    std::unique_ptr<plat::WebView> m_browser;
    // Drawn in the paint now under way.
    bool m_drawn = false;
};

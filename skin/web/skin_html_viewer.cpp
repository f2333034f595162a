#include "skin/web/skin_html_viewer.h"

#include "platform/web/web_view.h"
#include "skin/skin_dlg_base.h"

using namespace Qt::StringLiterals;

namespace {

// Each CR LF and LF becomes a space; a space after a space is dropped, which reduces every run to one.
QString OnOneLine(const QString& text) {
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            ++i;
            c = u' ';
        } else if (c == u'\n') {
            c = u' ';
        }
        if (c != u' ' || !line.endsWith(u' '))
            line += c;
    }
    return line;
}

} // namespace

CSkinHTMLViewer::CSkinHTMLViewer() {
    m_className = u"CSkinHTMLViewer"_s;
    m_takesKeys = true;
}

CSkinHTMLViewer::~CSkinHTMLViewer() = default;

void CSkinHTMLViewer::Create(CSkinDlgHolder* holder, unsigned id, const QString& /*caption*/,
                             const QString& command, int /*param*/, const QString& tooltip) {
    CSkinElement::Create(holder, id, QString(), command, 0, tooltip);
    if (m_pDlg) {
        m_browser = std::make_unique<plat::WebView>(*m_pDlg);
        m_browser->setOffline(m_offline);
        m_browser->setLoadFinished([this](bool ok) { OnLoadFinished(ok); });
        m_pDlg->ListOverlay(this);
        OnPositionChanged();
    }
}

plat::Rect CSkinHTMLViewer::DialogRect() const {
    const plat::Point at = GetDialogPos();
    return plat::Rect::fromXywh(at.x, at.y, m_width, m_height);
}

void CSkinHTMLViewer::Draw(plat::DeviceContext& /*dc*/, int /*x*/, int /*y*/, bool /*full*/) {
    m_drawn = true;
}

void CSkinHTMLViewer::OnDialogPainted() {
    if (m_browser) {
        if (m_drawn)
            m_browser->setGeometry(DialogRect());
        m_browser->setVisible(m_drawn);
    }
    m_drawn = false;
}

void CSkinHTMLViewer::OnPositionChanged() {
    CSkinElement::OnPositionChanged();
    if (m_browser)
        m_browser->setGeometry(DialogRect());
}

void CSkinHTMLViewer::OnSetFocus(int x, int y) {
    CSkinElement::OnSetFocus(x, y);
    if (m_browser)
        m_browser->setFocus();
}

void CSkinHTMLViewer::ReleaseBrowser() {
    m_browser.reset();
}

bool CSkinHTMLViewer::IsIdle() const {
    return m_browser && m_browser->isIdle();
}

bool CSkinHTMLViewer::Navigate(const QString& url) {
    if (!m_browser)
        return false;
    m_requestedURL = url;
    return m_browser->navigate(url);
}

void CSkinHTMLViewer::OnLoadFinished(bool ok) {
    const QString url = m_browser ? m_browser->url() : QString();
    (ok ? m_completedURL : m_failedURL) = url;
    CSkinDlg_Base* dlg = m_pDlg;
    if (dlg && !dlg->IsTornDown() && !m_completeCommand.isEmpty()) {
        const QString command = m_completeCommand;
        dlg->OnCommand(command, ok ? 1 : 0);
    }
}

bool CSkinHTMLViewer::EvalScript(const QString& expression, QString& text) {
    text.clear();
    if (!m_browser)
        return false;
    QVariant ignored;
    if (!m_browser->runScript(u"document.title = '';"_s, &ignored))
        return false;
    // The value is taken as it is: the title strips and joins blanks. A syntax error leaves no value.
    const QString script =
        u"try { const tarnwickValue = String(\n"_s + expression +
        u"\n); document.title = tarnwickValue; [true, tarnwickValue] } catch (e) { [false] }"_s;
    QVariant answer;
    if (!m_browser->runScript(script, &answer))
        return false;
    const QVariantList result = answer.toList();
    if (result.size() != 2 || !result[0].toBool())
        return false;
    text = result[1].toString();
    return true;
}

bool CSkinHTMLViewer::GetLocationURL(QString& text) {
    text = m_browser ? m_browser->url() : QString();
    return m_browser != nullptr;
}

plat::WebDocument CSkinHTMLViewer::GetHTMLDocument() const {
    return m_browser ? m_browser->document() : plat::WebDocument();
}

void CSkinHTMLViewer::SetOffline(bool offline) {
    m_offline = offline;
    if (m_browser)
        m_browser->setOffline(offline);
}

bool CSkinHTMLViewer::WriteHTML(const QString& html) {
    return m_browser && m_browser->setHtml(html);
}

bool CSkinHTMLViewer::SuppressScriptErrors(const QString& script) {
    if (!m_browser)
        return false;
    // The engine reports no failure of its own: the script's last value says whether it ran to its end. A
    // syntax error leaves the whole text unparsed, and no value.
    const QString wrapped =
        u"function errfnc(msg, url, lno) { return true; }   window.onerror = errfnc; try {\n"_s + script +
        u"\n;true } catch (e) { false }"_s;
    QVariant ran;
    return m_browser->runScript(wrapped, &ran) && ran.userType() == QMetaType::Bool && ran.toBool();
}

bool CSkinHTMLViewer::GetPlainText(QString& text) {
    text.clear();
    QString body;
    if (!m_browser || !m_browser->bodyText(&body))
        return false;
    text = OnOneLine(body);
    return true;
}

#include "projects/common/project_bar.h"

#include "projects/common/record_xml.h"
#include "skin/input_dlg.h"
#include "skin/skin_dlg_holder.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int kLeft = 30;
constexpr int kKeywordsWidth = 360;
constexpr qsizetype kKeywordsShown = 60;
constexpr int kButtonLeft = kLeft + kKeywordsWidth + 10;
constexpr int kButtonWidth = 80;
constexpr int kProgressLeft = kButtonLeft + kButtonWidth + 12;
constexpr int kProgressWidth = 220;
constexpr int kErrorLeft = kProgressLeft + kProgressWidth + 12;
constexpr plat::ColorRef kErrorColor = plat::Rgb(190, 0, 0);

const QString kDoneKey = u"m_done"_s;
const QString kTotalKey = u"m_total"_s;
const QString kErrorKey = u"m_lastError"_s;
const QString kFailuresKey = u"m_failures"_s;
const QString kFailureKey = u"item"_s;
// The newest failures the error line's tooltip names; a click on the line shows them all.
constexpr qsizetype kFailuresInTooltip = 20;

// The failures in a text field, shown from their start: long lines are not wrapped.
class CFailuresDlg : public CInputDlg {
  public:
    using CInputDlg::CInputDlg;

    void CreateElements() override {
        CInputDlg::CreateElements();
        m_edit.SetSel(0, 0);
    }
};

// A long text as the bar names it: cut short, ending in "...".
QString Shortened(const QString& text) {
    return text.size() > kKeywordsShown ? text.left(kKeywordsShown - 3) + u"..."_s : text;
}

} // namespace

CProjectBar::CProjectBar(int kind)
    : m_startCommand(u"prj"_s + QString::number(kind) + u"_start"_s),
      m_stopCommand(u"prj"_s + QString::number(kind) + u"_stop"_s),
      m_failuresCommand(u"prj"_s + QString::number(kind) + u"_failures"_s) {}

void CProjectBar::Create(CSkinDlgHolder* holder, unsigned* nextId, const QString& keywords) {
    m_keywords.CreateLabel(holder, ++*nextId, QString());
    m_keywords.SetPosition(kLeft, kTop + 6, kKeywordsWidth, 18, 0);
    SetKeywords(keywords);

    m_button.Create(holder, ++*nextId, u"Start"_s, m_startCommand, 0);
    m_button.SetPosition(kButtonLeft, kTop + 2, kButtonWidth, m_button.m_height, 0);

    m_progress.Create(holder, ++*nextId);
    m_progress.SetPosition(kProgressLeft, kTop + 8, kProgressWidth, CSkinProgress::kHeight, 0);
    SetProgress(m_done, m_total);

    // A run may have set its error before the page was built.
    const QString error = m_error.m_caption;
    const QString tooltip = m_error.m_tooltip;
    m_error.CreateLabel(holder, ++*nextId, error, 0, 0, m_failuresCommand, tooltip);
    m_error.m_textColor = kErrorColor;
    holder->SetResizeRule(&m_error, kErrorLeft, kTop + 6, -(kErrorLeft + kLeft), 18);
    SetRunning(m_running);
    ShowCounts();
}

void CProjectBar::SetVisible(bool visible) {
    m_keywords.SetVisible(visible);
    m_button.SetVisible(visible);
    m_progress.SetVisible(visible);
    m_error.SetVisible(visible);
}

void CProjectBar::SetKeywords(const QString& keywords) {
    m_keywords.SetText(Shortened(keywords));
    m_keywords.SetToolTip(keywords);
}

void CProjectBar::SetRunning(bool running) {
    m_running = running;
    m_button.m_command = running ? m_stopCommand : m_startCommand;
    m_button.SetText(running ? u"Stop"_s : u"Start"_s);
    m_button.Redraw();
}

void CProjectBar::SetProgress(int done, int total) {
    m_done = done;
    m_total = total;
    m_progress.SetRangePos(0, qMax(total, 1), done);
    ShowCounts();
}

void CProjectBar::ShowCounts() {
    // The bar would write its percentage for a "%d": the text is made here, with no "%" left in it.
    QString format = u"%1 of %2 requests"_s.arg(m_done).arg(m_total);
    if (!m_failures.isEmpty())
        format += u", %1 failed"_s.arg(m_failures.size());
    m_progress.m_format = format;
    m_progress.Redraw();
    if (m_failures.size() < 2)
        return;
    // The newest first, as the line shows the latest.
    QStringList lines{u"%1 requests failed; click to see them all:"_s.arg(m_failures.size())};
    for (qsizetype i = m_failures.size() - 1; i >= 0 && lines.size() <= kFailuresInTooltip; --i)
        lines << m_failures[i];
    if (m_failures.size() > kFailuresInTooltip)
        lines << u"..."_s;
    m_error.SetToolTip(lines.join(u"\r\n"_s));
}

void CProjectBar::SetError(const QString& error) {
    m_error.SetText(error);
    m_error.SetToolTip(error);
    ShowCounts();
}

QString CProjectBar::AddFailure(const QString& service, const QString& subject, const QString& error) {
    const QString text = StepErrorText(service, subject, error);
    m_failures << text;
    SetError(text);
    return text;
}

void CProjectBar::ForgetFailures(const QString& service, const QString& subject) {
    const QString named = StepErrorText(service, subject, QString());
    if (m_failures.removeIf([&](const QString& failure) { return failure.startsWith(named); }) == 0)
        return;
    SetError(m_failures.isEmpty() ? QString() : m_failures.back());
}

void CProjectBar::ClearFailures() {
    m_failures.clear();
    SetError(QString());
}

void CProjectBar::ShowFailures() {
    CSkinDlg_Base* window = m_error.GetDialog();
    if (!window || m_failures.isEmpty())
        return;
    CFailuresDlg list(window, false, true, m_failures.join(u"\r\n"_s), QString(),
                      u"The requests of the run that failed, the latest last:"_s);
    list.m_title = u"Tarnwick 2.0 :: Failed requests"_s;
    list.DoModal();
}

void CProjectBar::SaveXml(CDownloader_HTMLTags* root) const {
    record_xml::SaveValue(root, kDoneKey, m_done);
    record_xml::SaveValue(root, kTotalKey, m_total);
    record_xml::SaveValue(root, kErrorKey, m_error.m_caption);
    // Written only when some failed, so a file without failures reads as before.
    if (m_failures.isEmpty())
        return;
    CDownloader_HTMLTags* list = root->AddChild(kFailuresKey, false);
    for (const QString& failure : m_failures)
        list->AddChild(kFailureKey, false)->SetText(failure);
}

void CProjectBar::LoadXml(const CDownloader_HTMLTags* root) {
    // A damaged count shows no more done than there are requests.
    const int total = std::max(0, record_xml::LoadInt(root, kTotalKey, 0));
    m_failures.clear();
    for (const CDownloader_HTMLTags* item :
         record_xml::Children(record_xml::Child(root, kFailuresKey), kFailureKey)) {
        QString failure;
        CDownloader_HTMLTags::GetString(item, failure, QString());
        m_failures << failure;
    }
    SetProgress(std::clamp(record_xml::LoadInt(root, kDoneKey, 0), 0, total), total);
    SetError(record_xml::LoadString(root, kErrorKey));
}

QString CProjectBar::StepErrorText(const QString& service, const QString& subject, const QString& error) {
    // Several keywords asked at once are named on one line, and a long subject as the bar shows keywords.
    const QString named = Shortened(subject.simplified());
    if (named.isEmpty())
        return service + u": "_s + error;
    return service + u" ("_s + named + u"): "_s + error;
}

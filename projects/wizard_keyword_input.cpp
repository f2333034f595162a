#include "projects/wizard_keyword_input.h"

#include "app/new_project_dlg.h"
#include "core/history_drop_list.h"
#include "net/crawler.h"
#include "net/html_tags.h"
#include "skin/skin_dlg_holder.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kKeywordKey = u"main_keyword"_s;
constexpr int kFieldGap = 22;

// The history as a drop list that takes one keyword shows it: an entry typed as "kw;" is offered as its
// keyword, and one of several ("kw1;kw2;") is left out, as the list would refuse it once chosen.
class OneKeywordHistory : public HistoryDropList {
  public:
    explicit OneKeywordHistory(HistoryDropList& list) : m_list(list) {}

    void ResetContent() override {
        m_offered.clear();
        m_list.ResetContent();
    }
    int AddItem(const QString& text, int data) override {
        const QStringList keywords = CWizardKeywordInput::SplitKeywords(text);
        // The list's own first item ("-- Clear history --") is no keyword list.
        const QString item = text.contains(kKeywordEnd) ? keywords.value(0) : text;
        if (keywords.size() > 1 || item.isEmpty() || m_offered.contains(item, Qt::CaseInsensitive))
            return -1;
        m_offered.append(item);
        return m_list.AddItem(item, data);
    }
    void SetCurSel(int index, bool silent) override { m_list.SetCurSel(index, silent); }
    QString GetText() const override { return m_list.GetText(); }
    void SetText(const QString& text) override { m_list.SetText(text); }

  private:
    static constexpr QChar kKeywordEnd = u';';

    HistoryDropList& m_list;
    QStringList m_offered;
};

} // namespace

CWizardKeywordInput::CWizardKeywordInput(int kind, Mode mode, History history)
    : m_kind(kind), m_mode(mode), m_history(history) {}

QString CWizardKeywordInput::JoinKeywords(const QStringList& keywords) {
    QString text;
    for (const QString& keyword : keywords)
        text += keyword + u';';
    return text;
}

QStringList CWizardKeywordInput::SplitKeywords(const QString& text) {
    QStringList keywords;
    for (const QString& part : text.split(u';')) {
        const QString keyword = part.trimmed();
        if (!keyword.isEmpty())
            keywords.append(keyword);
    }
    return keywords;
}

QString CWizardKeywordInput::RootName() const {
    return u"Project"_s + QString::number(m_kind);
}

bool CWizardKeywordInput::IsListCommand(const QString& command) const {
    return HasList() && command == m_list.m_command;
}

void CWizardKeywordInput::CreatePage(CSkinDlgHolder* holder, unsigned* nextId, int labelLeft, int fieldLeft,
                                     int top, int width, const QString& preset) {
    const QString prefix = u"prj"_s + QString::number(m_kind) + u'_';
    const QStringList presetKeywords = SplitKeywords(preset);
    m_label.CreateLabel(holder, ++*nextId,
                        m_mode == Mode::List ? u"Keywords (several as kw1;kw2;):"_s : u"Keyword:"_s);
    m_label.SetPosition(labelLeft, top, m_label.m_width, m_label.m_height, 0);
    if (HasList()) {
        m_list.Create(holder, ++*nextId, QString(), true, prefix + u"edit_keyword"_s);
        m_list.SetPosition(fieldLeft, top + kFieldGap, width, CSkinDropList::kHeight, 0);
        FillHistory();
        m_list.SetText(m_mode == Mode::List ? preset : presetKeywords.value(0));
    } else {
        m_field.Create(holder, ++*nextId, presetKeywords.value(0), false, false, prefix + u"keyword"_s,
                       QString());
        m_field.SetPosition(fieldLeft, top + kFieldGap, width, CSkinDropList::kHeight, 0);
    }
    m_pageShown = true;
}

void CWizardKeywordInput::DestroyPage() {
    if (!m_pageShown)
        return;
    m_pageShown = false;
    m_label.Detach();
    if (HasList())
        m_list.DestroyPopup();
    else
        m_field.Detach();
}

void CWizardKeywordInput::FillHistory() {
    if (!g_pCrawler)
        return;
    if (m_mode == Mode::SingleList) {
        OneKeywordHistory list(m_list);
        g_pCrawler->FillHistoryCombo(list);
    } else {
        g_pCrawler->FillHistoryCombo(m_list);
    }
}

QString CWizardKeywordInput::Text() const {
    return HasList() ? m_list.GetText() : m_field.GetText();
}

bool CWizardKeywordInput::Validate(QString& error) {
    QStringList keywords = SplitKeywords(Text());
    if (keywords.isEmpty()) {
        error = kEmptyKeyword;
        return false;
    }
    // The list of one would search the first keyword and drop the others without a word.
    if (m_mode == Mode::SingleList && keywords.size() > 1) {
        error = kOneKeywordOnly;
        return false;
    }
    if (m_mode != Mode::List)
        keywords = keywords.mid(0, 1);
    m_keywords = keywords;
    if (HasList() && m_history == History::Add && g_pCrawler) {
        // Newest first: the first keyword typed ends up at the top of the history.
        for (qsizetype i = keywords.size() - 1; i >= 0; --i)
            g_pCrawler->AddKeywordToHistory(keywords[i], i == 0);
    }
    return true;
}

void CWizardKeywordInput::OnHistoryAnswer(int param) {
    if (!HasList())
        return;
    if (param == CNewProjectDlg::kHistoryCleared) {
        FillHistory();
        m_list.SetText(QString());
    } else if (param == CNewProjectDlg::kHistoryKept) {
        m_list.ClearSelection();
    }
}

void CWizardKeywordInput::SaveXml(CDownloader_HTMLTags* root) const {
    const QString text = m_mode == Mode::List ? JoinKeywords(m_keywords) : m_keywords.value(0);
    root->AddChild(kKeywordKey, false)->SetText(text);
}

void CWizardKeywordInput::LoadXml(CDownloader_HTMLTags* tree) {
    CDownloader_HTMLTags* root = tree->FindFirst(RootName());
    QString text;
    CDownloader_HTMLTags::GetString(root ? root->FindFirst(kKeywordKey) : nullptr, text, QString());
    // Read as typed, so a list saved by an input of several keywords opens as its first in an input of one.
    m_keywords = SplitKeywords(text);
    if (m_mode != Mode::List)
        m_keywords = m_keywords.mid(0, 1);
}

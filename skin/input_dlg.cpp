#include "skin/input_dlg.h"

#include "skin/commands.h"
#include "skin/input_check.h"
#include "skin/skin_constants.h"

using namespace Qt::StringLiterals;
namespace cmd = skin::cmd;

namespace {

const QString kLineBreak = u"\r\n"_s;
constexpr int kWidth = 400;
constexpr int kFieldLeft = 17;
constexpr int kFieldTop = 61;
constexpr int kPromptTop = 40;
constexpr int kOneLine = 25;
constexpr int kManyLines = 225;
constexpr int kListHeight = 100;

} // namespace

CInputDlg::CInputDlg(CSkinDlg_Base* parent, bool domainMode, bool multiLine, const QString& text,
                     const QString& separator, const QString& prompt)
    : CSkinDlg(parent), m_domainMode(domainMode), m_multiLine(multiLine), m_text(text),
      m_separator(separator.isEmpty() ? kLineBreak : separator), m_prompt(prompt) {
    m_width = kWidth;
    m_height = 120;
    m_maximizable = false;
    m_closable = false;
    m_minimizable = false;
    // A caller may title the dialog before it opens; otherwise it is titled by its mode.
    m_title.clear();
}

CInputDlg::~CInputDlg() = default;

void CInputDlg::CreateElements() {
    if (m_title.isEmpty()) {
        m_title =
            m_domainMode ? u"Tarnwick 2.0 :: Add new project "_s : u"Tarnwick 2.0 :: Add new keyword(s) "_s;
    }
    QString prompt = m_prompt;
    if (prompt.isEmpty()) {
        if (m_domainMode)
            prompt = u"Please enter the domain(s) you want to add:"_s;
        else if (m_multiLine)
            prompt = u"Please enter the keyword(s) you want to add: (one per line)"_s;
        else
            prompt = u"Please enter the keyword(s) you want to add: (separate by comma)"_s;
    }
    m_promptLabel.CreateLabel(&m_rootHolder, ++m_nextElementId, prompt, kFieldLeft, kPromptTop);
    m_promptLabel.SetFont(&m_font);

    const int fieldWidth = kWidth - 2 * kFieldLeft;
    int fieldHeight = kOneLine;
    switch (m_mode) {
    case kModeEditableList:
    case kModeList:
        m_dropList.Create(&m_rootHolder, ++m_nextElementId, m_text, m_mode == kModeEditableList, QString());
        for (const QString& item : m_items)
            m_dropList.AddItem(item, 0);
        m_dropList.SetPosition(kFieldLeft, kFieldTop, fieldWidth, kOneLine);
        m_dropList.SetFocus();
        break;
    case kModeListWindow:
        m_list.CreateList(&m_rootHolder, ++m_nextElementId, 0, 0, QString());
        for (const QString& item : m_items)
            m_list.AddString(item);
        fieldHeight = kListHeight;
        m_list.SetPosition(kFieldLeft, kFieldTop, fieldWidth, fieldHeight);
        break;
    default: {
        QString text = m_text;
        if (m_multiLine) {
            fieldHeight = kManyLines;
            text.replace(m_separator, kLineBreak);
        }
        m_edit.Create(&m_rootHolder, ++m_nextElementId, text, m_multiLine, false, QString(), QString());
        m_edit.SetPosition(kFieldLeft, kFieldTop, fieldWidth, fieldHeight);
        m_edit.SetFocus();
        break;
    }
    }

    m_height = fieldHeight + 117;
    m_ok.Create(&m_rootHolder, ++m_nextElementId, u"OK"_s, cmd::kOk);
    m_ok.SetPosition(kWidth / 2 - 95, m_height - 45, 90, skin::kButtonHeight);
    m_cancel.Create(&m_rootHolder, ++m_nextElementId, u"Cancel"_s, cmd::kCancel);
    m_cancel.SetPosition(kWidth / 2 + 5, m_height - 45, 90, skin::kButtonHeight);
}

QString CInputDlg::Input(std::vector<int>& chosen) const {
    switch (m_mode) {
    case kModeEditableList:
    case kModeList:
        chosen.push_back(m_dropList.GetCurSel());
        return m_dropList.GetText();
    case kModeListWindow: {
        QString text;
        for (int i = 0; i < m_list.GetCount(); ++i) {
            if (m_list.GetSel(i)) {
                text += m_items.value(i) + m_separator;
                chosen.push_back(i);
            }
        }
        return text;
    }
    default:
        return m_edit.GetText();
    }
}

void CInputDlg::Accept() {
    std::vector<int> chosen;
    QString text = Input(chosen).trimmed();
    if (m_multiLine)
        text = skin::TrimEachLine(text);
    const QString refusal = skin::InputRefusal(text, m_domainMode, m_multiLine, m_emptyMessage);
    if (!refusal.isEmpty()) {
        // The dialog stays open, so the user can correct the input.
        MessageBox(refusal, QString(), skin::kMessageOk | skin::kMessageExclamation);
        return;
    }
    m_text = text;
    if (m_multiLine)
        m_text.replace(kLineBreak, m_separator);
    m_chosen.insert(m_chosen.end(), chosen.begin(), chosen.end());
    EndSkinDialog(skin::kResultOk);
}

bool CInputDlg::OnCommand(const QString& command, int param) {
    if (command == cmd::kOk || command == cmd::kDefaultOk)
        Accept();
    else if (command == cmd::kCancel || command == cmd::kDefaultCancel)
        EndSkinDialog(skin::kResultCancel);
    else
        return CSkinDlg_Base::OnCommand(command, param);
    return true;
}

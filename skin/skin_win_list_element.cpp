#include "skin/skin_win_list_element.h"

#include "skin/skin_dlg_base.h"

using namespace Qt::StringLiterals;

CSkinWinList::CSkinWinList() {
    m_className = u"CSkinWinList"_s;
}

CSkinWinList::~CSkinWinList() = default;

void CSkinWinList::CreateList(CSkinDlgHolder* holder, unsigned id, int, int, const QString& command,
                              const QString& tooltip) {
    Create(holder, id, QString(), QString(), 0, tooltip);
    m_listCommand = command;
    m_takesKeys = true;
}

void CSkinWinList::Draw(plat::DeviceContext& /*dc*/, int /*x*/, int /*y*/, bool /*full*/) {}

void CSkinWinList::UpdateTextExtent(plat::DeviceContext& /*dc*/) {
    Redraw();
}

void CSkinWinList::OnDblClick(int /*x*/, int /*y*/) {
    if (m_pDlg && !m_listCommand.isEmpty())
        m_pDlg->OnCommand(m_listCommand, 0);
}

int CSkinWinList::AddString(const QString& /*text*/) {
    return 0;
}

int CSkinWinList::AddItem(const QString& /*text*/, int /*data*/, bool /*flag*/) {
    return 0;
}

void CSkinWinList::ResetContent() {}

int CSkinWinList::GetCount() const {
    return 0;
}

bool CSkinWinList::GetSel(int /*index*/) const {
    return false;
}

int CSkinWinList::GetItemData(int /*index*/) const {
    return 0;
}

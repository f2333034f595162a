#include "projects/kind7/project7.h"

#include "core/platform_services.h"
#include "net/downloader.h"
#include "projects/kind6/project6_home_page_checks.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_base.h"

using namespace Qt::StringLiterals;

namespace {

constexpr int kVisitWidth = 100;

} // namespace

CProject7::CProject7(int id) : CProject6(id, 7, u"Form action"_s) {}

void CProject7::InitInfo() {
    m_name = u"Partner Prospector"_s;
    m_description = u"Finds partner sites with mailing-list sign-up forms for a keyword."_s;
}

QString CProject7::TestHomePage(const CDownloader& downloader, const QString& homeUrl, bool& found) const {
    const QString action = FindSignUpFormAction(downloader.Response().tree, found);
    if (!found)
        return {};
    // A form without an action posts to the page itself.
    return action.isEmpty() ? homeUrl : downloader.ResolveUrl(action);
}

void CProject7::CreateRowElements(CSkinDlgHolder* holder, unsigned* nextId, int x) {
    m_visit.Create(holder, ++*nextId, u"Visit site"_s, kVisitCommand, 0,
                   u"Opens the selected site in the browser"_s);
    m_visit.SetPosition(x, kRowTop + 2, kVisitWidth, m_visit.m_height, 0);
}

void CProject7::ShowRowElements(bool visible) {
    m_visit.SetVisible(visible);
}

void CProject7::OnCommand(const QString& command, int param, CSkinDlg_Base* sender) {
    if (command != kVisitCommand) {
        CProject6::OnCommand(command, param, sender);
        return;
    }
    const int item = Report().GetSingleSelection();
    if (item >= 0)
        OpenUrlInBrowser(Sites()[size_t(item)].url);
    else if (sender)
        sender->MessageBox(kSelectOne, QString(), skin::kMessageOk | skin::kMessageInformation);
}

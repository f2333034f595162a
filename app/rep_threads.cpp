#include "app/rep_threads.h"

#include "net/crawler_default.h"

using namespace Qt::StringLiterals;

namespace {

enum Column { kServer, kOperation, kStatus };

struct StateColors {
    plat::ColorRef background;
    plat::ColorRef hover;
};

StateColors ColorsOf(int state) {
    switch (state) {
    case 1:
    case 2:
        return {plat::Rgb(230, 245, 245), plat::Rgb(245, 255, 255)};
    case 3:
        return {plat::Rgb(230, 245, 230), plat::Rgb(245, 255, 245)};
    case 4:
        return {plat::Rgb(245, 230, 230), plat::Rgb(255, 245, 245)};
    default:
        return {plat::Rgb(255, 255, 255), plat::Rgb(245, 245, 245)};
    }
}

} // namespace

CRep_Threads::CRep_Threads(CProjectCrawlerDefault& crawler) : m_crawler(crawler) {}

void CRep_Threads::SetupColumns(CSkinDlgHolder* holder, unsigned id) {
    CSkinListBox::SetupColumns(holder, id);
    const struct {
        int id;
        const char16_t* title;
        int width;
    } columns[] = {{kServer, u"Server", 100}, {kOperation, u"Operation", 200}, {kStatus, u"Status", 100}};
    for (const auto& c : columns) {
        CSkinListBox_Column column;
        column.id = c.id;
        column.title = QString::fromUtf16(c.title);
        column.width = c.width;
        m_columns.push_back(column);
    }
    // Rows keep the order of the pool's slots.
    m_sortColumn = kSortOff;
}

void CRep_Threads::UpdateItemCount() {
    m_rows = m_crawler.TakeThreadStatus();
    m_itemCount = static_cast<int>(m_rows.size());
    CSkinListBox::UpdateItemCount();
}

int CRep_Threads::CompareItems(int a, int b) {
    return (a > b) - (a < b);
}

void CRep_Threads::GetItemText(CSkinListBox_Line& line) {
    const CProjectCrawler_thread_Status& row = m_rows[static_cast<std::size_t>(line.item)];
    AddCell(line, row.server, 0, 0, kServer, 65535);
    AddCell(line, row.operation, 0, 0, kOperation, 65535);
    AddCell(line, row.status, 0, 0, kStatus, 65535);
    const StateColors colors = ColorsOf(row.state);
    line.background = colors.background;
    line.hoverBackground = colors.hover;
    line.rowFlag = true;
}

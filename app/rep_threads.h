#pragma once

#include "net/thread_status.h"
#include "skin/skin_list_box.h"

#include <vector>

class CProjectCrawlerDefault;

// A report of the crawler's worker-status rows: server, operation and status, in row order, coloured by
// each row's state. Each paint reads a fresh copy of the rows (a few dozen at most); its owner invalidates it
// when the crawler says the rows changed.
class CRep_Threads : public CSkinListBox {
  public:
    explicit CRep_Threads(CProjectCrawlerDefault& crawler);

    void SetupColumns(CSkinDlgHolder* holder, unsigned id) override;
    // Takes the rows from the crawler, which clears its changed mark.
    void UpdateItemCount() override;
    int CompareItems(int a, int b) override;
    void GetItemText(CSkinListBox_Line& line) override;

  private:
    CProjectCrawlerDefault& m_crawler;
    std::vector<CProjectCrawler_thread_Status> m_rows;
};

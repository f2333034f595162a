#pragma once

#include "parsers/se_result.h"
#include "platform/color.h"
#include "platform/geometry.h"
#include "skin/skin_element.h"

#include <QString>
#include <vector>

// One text run of an ad preview: a line of text in one colour, placed by the layout.
struct CSkinAdDisplay_Label {
    // Element-relative, set by the layout.
    plat::Rect rect;
    // Asked of the layout: space above the run, and the widest it may be (0: its text's width).
    int extraAbove = 0;
    int maxWidth = 0;
    QString text;
    plat::ColorRef color = plat::Rgb(0, 0, 0);
    bool underline = false;
    // Opens its text in the user's browser when clicked.
    bool link = false;
};

// Shows one search ad as a search engine would: the title underlined in blue, the ad text on one or two
// lines, the shown address in green and, when the ad has one, the real destination as a link.
class CSkinAdDisplay : public CSkinElement {
  public:
    CSkinAdDisplay();
    ~CSkinAdDisplay() override;

    void Create(CSkinDlgHolder* holder, unsigned id, const QString& command);
    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;
    void OnMouseLeave() override;
    bool OnMouse(int x, int y, int state) override;

    // Copies the ad and lays it out.
    void SetAd(const CDownloader_Parsers_SE_result& ad);
    void BuildRuns();
    // The right and bottom edges of the runs.
    void GetContentSize(int& width, int& height) const;

    // An ad line that is long enough is shown on two lines: split at the first space from index 30 on,
    // when the text has at least 41 characters. False when it cannot be split.
    static bool SplitAdLine(const QString& text, QString& first, QString& second);

    static constexpr plat::ColorRef kTitleColor = plat::Rgb(34, 0, 204);
    static constexpr plat::ColorRef kShownUrlColor = plat::Rgb(0, 128, 0);
    static constexpr int kLinkMaxWidth = 400;

    std::vector<CSkinAdDisplay_Label> m_runs;
    // The run under the pointer, -1 none.
    int m_hotRun = -1;
    CDownloader_Parsers_SE_result m_ad;

  private:
    void SetHotRun(int run);
};

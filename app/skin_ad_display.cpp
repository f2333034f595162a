#include "app/skin_ad_display.h"

#include "core/platform_services.h"
#include "platform/device_context.h"
#include "platform/text_format.h"
#include "skin/host_window.h"
#include "skin/skin_constants.h"
#include "skin/skin_dlg_base.h"

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kSplitMinLength = 41;
constexpr qsizetype kSplitFrom = 30;
constexpr int kRunGap = 2;
constexpr int kLinkGap = 10;

QString TrimSpaces(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.sliced(start, end - start);
}

CSkinAdDisplay_Label Run(const QString& text, plat::ColorRef color = plat::Rgb(0, 0, 0)) {
    CSkinAdDisplay_Label run;
    run.text = text;
    run.color = color;
    return run;
}

} // namespace

CSkinAdDisplay::CSkinAdDisplay() {
    m_className = u"CSkinAdDisplay"_s;
}

CSkinAdDisplay::~CSkinAdDisplay() = default;

void CSkinAdDisplay::Create(CSkinDlgHolder* holder, unsigned id, const QString& command) {
    CSkinElement::Create(holder, id, QString(), command, 0, QString());
}

bool CSkinAdDisplay::SplitAdLine(const QString& text, QString& first, QString& second) {
    if (text.size() < kSplitMinLength)
        return false;
    const qsizetype space = text.indexOf(u' ', kSplitFrom);
    if (space < 0)
        return false;
    first = TrimSpaces(text.left(space));
    second = TrimSpaces(text.sliced(space + 1));
    return true;
}

void CSkinAdDisplay::SetAd(const CDownloader_Parsers_SE_result& ad) {
    m_ad = ad;
    BuildRuns();
}

void CSkinAdDisplay::BuildRuns() {
    QString line1 = m_ad.ad_line1;
    QString line2 = m_ad.ad_line2;
    if (line2.isEmpty())
        SplitAdLine(m_ad.ad_line1, line1, line2);
    // A body too short to split is still the ad's text: it shows whole on the first line.
    if (line1.isEmpty() && line2.isEmpty() && !SplitAdLine(m_ad.body, line1, line2))
        line1 = m_ad.body;

    m_runs.clear();
    m_hotRun = -1;
    m_runs.push_back(Run(m_ad.title, kTitleColor));
    m_runs.back().underline = true;
    m_runs.push_back(Run(line1));
    if (!line2.isEmpty())
        m_runs.push_back(Run(line2));
    m_runs.push_back(Run(m_ad.show_url, kShownUrlColor));
    if (!m_ad.full_url.isEmpty()) {
        m_runs.push_back(Run(u"Actual URL:"_s));
        m_runs.back().extraAbove = kLinkGap;
        m_runs.push_back(Run(m_ad.full_url, kTitleColor));
        m_runs.back().maxWidth = kLinkMaxWidth;
        m_runs.back().link = true;
    }

    if (!m_pDlg)
        return;
    const plat::DeviceContext& dc = m_pDlg->MeasureDC();
    int top = 0;
    for (CSkinAdDisplay_Label& run : m_runs) {
        const plat::Size extent = dc.getTextExtent(run.text);
        const int width = run.maxWidth > 0 ? qMin(extent.cx, run.maxWidth) : extent.cx;
        // Even an empty run keeps a line of its own.
        const int height = qMax(extent.cy, dc.getTextExtent(u"Ag"_s).cy);
        top += run.extraAbove;
        run.rect = plat::Rect::fromXywh(0, top, width, height);
        top = run.rect.bottom + kRunGap;
    }
}

void CSkinAdDisplay::GetContentSize(int& width, int& height) const {
    width = 0;
    height = 0;
    for (const CSkinAdDisplay_Label& run : m_runs) {
        width = qMax(width, run.rect.right);
        height = qMax(height, run.rect.bottom);
    }
}

void CSkinAdDisplay::Draw(plat::DeviceContext& dc, int x, int y, bool /*full*/) {
    const plat::Font* previousFont = m_pDlg ? dc.selectFont(&m_pDlg->m_font) : dc.font();
    const plat::ColorRef previousColor = dc.setTextColor(0);
    for (std::size_t i = 0; i < m_runs.size(); ++i) {
        const CSkinAdDisplay_Label& run = m_runs[i];
        plat::Rect at = run.rect.translated(x, y);
        dc.setTextColor(run.color);
        dc.drawText(run.text, at,
                    plat::kTextSingleLine | plat::kTextVCenter | plat::kTextEndEllipsis |
                        plat::kTextNoPrefix);
        const plat::Rect line = run.rect.translated(x, y);
        if (run.underline || (run.link && int(i) == m_hotRun))
            dc.fillSolidRect(plat::Rect{line.left, line.bottom - 1, line.right, line.bottom}, run.color);
    }
    dc.setTextColor(previousColor);
    dc.selectFont(previousFont);
}

void CSkinAdDisplay::SetHotRun(int run) {
    if (run == m_hotRun)
        return;
    m_hotRun = run;
    const bool overLink = run >= 0 && m_runs[std::size_t(run)].link;
    if (m_pDlg)
        skin::HostWindow(*m_pDlg).setCursorShape(overLink ? plat::CursorShape::Hand
                                                          : plat::CursorShape::Arrow);
    SetToolTip(overLink ? u"Click to open link"_s : QString());
    Redraw();
}

bool CSkinAdDisplay::OnMouse(int x, int y, int state) {
    if (CSkinElement::OnMouse(x, y, state))
        return true;
    int hot = -1;
    for (std::size_t i = 0; i < m_runs.size() && hot < 0; ++i)
        if (m_runs[i].rect.contains(plat::Point{x, y}))
            hot = int(i);
    SetHotRun(hot);
    if (state == skin::kMouseReleased && hot >= 0 && m_runs[std::size_t(hot)].link)
        OpenUrlInBrowser(m_runs[std::size_t(hot)].text);
    return false;
}

void CSkinAdDisplay::OnMouseLeave() {
    SetHotRun(-1);
    CSkinElement::OnMouseLeave();
}

#include "skin/skin_graph.h"

#include "core/number_text.h"
#include "core/packed_minutes.h"
#include "platform/text_format.h"
#include "skin/button_images.h"
#include "skin/skin_atlas.h"
#include "skin/skin_constants.h"
#include "skin/vertical_text.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMinutesPerDay = 1440;
// Without points the days mode shows the 20 days up to the end of today.
constexpr int kEmptyRangeMinutes = 28800;
constexpr double kLeastValueSpan = 10.0;
constexpr int kValueLines = 5;
constexpr int kLeastPlotWidth = 40;
constexpr int kLeastPlotHeight = 30;
constexpr int kIconGap = 4;

constexpr std::array<plat::Rect, 6> kIcons = {
    skin::AtlasRect("graph.mode"),   skin::AtlasRect("graph.range1"), skin::AtlasRect("graph.range2"),
    skin::AtlasRect("graph.range3"), skin::AtlasRect("graph.range4"), skin::AtlasRect("graph.range5")};

constexpr std::array<int, 5> kDayLengths = {7, 14, 30, 60, 90};
constexpr std::array<int, 5> kValueLengths = {10, 25, 50, 75, 100};

constexpr plat::ColorRef kPaper = plat::Rgb(255, 255, 255);
constexpr plat::ColorRef kRule = plat::Rgb(203, 218, 227);
constexpr plat::ColorRef kGridLine = plat::Rgb(234, 240, 245);
constexpr plat::ColorRef kAxis = plat::Rgb(166, 188, 207);
constexpr plat::ColorRef kLabel = plat::Rgb(84, 112, 138);
constexpr plat::ColorRef kChosen = plat::Rgb(0, 100, 168);

// A value axis label: whole numbers when the span is wide, one decimal otherwise.
QString ValueLabel(double value, double span) {
    return number_text::FormatFixed(value, span >= 20.0 ? 0 : 1);
}

} // namespace

CSkinGraph::CSkinGraph() : m_verticalFont(u"Tahoma"_s, 13), m_flatFont(u"Tahoma"_s, 13) {
    m_className = u"CSkinGraph"_s;
    UpdateRange();
}

CSkinGraph::~CSkinGraph() = default;

const std::array<int, 5>& CSkinGraph::Lengths(RangeMode mode) {
    return mode == kDays ? kDayLengths : kValueLengths;
}

int CSkinGraph::AddSeries(plat::ColorRef color) {
    CSkinGraph_Series series;
    series.color = color;
    m_series.push_back(std::move(series));
    return int(m_series.size()) - 1;
}

void CSkinGraph::AddPoint(int series, int time, float value) {
    if (series < 0 || series >= int(m_series.size()) || !std::isfinite(value))
        return;
    std::vector<CSkinGraph_Point>& points = m_series[size_t(series)].points;
    const auto at = std::upper_bound(points.begin(), points.end(), time,
                                     [](int t, const CSkinGraph_Point& p) { return t < p.time; });
    points.insert(at, CSkinGraph_Point{time, value});
    UpdateRange();
    Redraw();
}

void CSkinGraph::ClearSeries() {
    m_series.clear();
    UpdateRange();
    Redraw();
}

void CSkinGraph::SetTitle(const QString& title) {
    m_title = title;
    Redraw();
}

void CSkinGraph::SetRangeMode(RangeMode mode) {
    if (mode == m_mode)
        return;
    const std::array<int, 5>& from = Lengths(m_mode);
    const auto at = std::find(from.begin(), from.end(), m_rangeLength);
    m_mode = mode;
    m_rangeLength = Lengths(mode)[at == from.end() ? 2 : size_t(at - from.begin())];
    UpdateRange();
    Redraw();
}

bool CSkinGraph::SetRangeLength(int length) {
    const std::array<int, 5>& lengths = Lengths(m_mode);
    if (std::find(lengths.begin(), lengths.end(), length) == lengths.end())
        return false;
    m_rangeLength = length;
    Redraw();
    return true;
}

void CSkinGraph::UpdateRange() {
    bool any = false;
    int start = 0;
    int end = 0;
    float low = 0.0f;
    float high = 0.0f;
    for (const CSkinGraph_Series& series : m_series) {
        for (const CSkinGraph_Point& p : series.points) {
            start = any ? std::min(start, p.time) : p.time;
            end = any ? std::max(end, p.time) : p.time;
            low = any ? std::min(low, p.value) : p.value;
            high = any ? std::max(high, p.value) : p.value;
            any = true;
        }
    }
    if (!any) {
        m_timeEnd = (NowAsMinutes() / kMinutesPerDay + 1) * kMinutesPerDay;
        m_timeStart = m_timeEnd - kEmptyRangeMinutes;
        m_valueMin = 0.0;
        m_valueMax = kLeastValueSpan;
        return;
    }
    m_timeStart = start;
    m_timeEnd = end;
    m_valueMin = low;
    m_valueMax = high;
    // A flat or narrow series keeps its floor and gets room above it.
    if (m_valueMax - m_valueMin < kLeastValueSpan)
        m_valueMax = m_valueMin + kLeastValueSpan;
}

QString CSkinGraph::RangeLabel() const {
    return (m_mode == kDays ? u"%1 days"_s : u"%1 values"_s).arg(m_rangeLength);
}

QString CSkinGraph::DateLabel(int time) {
    const int month = MinutesComponent(time, kMinutesMonth);
    return u"%1 %2"_s.arg(MinutesComponent(time, kMinutesDay))
        .arg(QLocale().monthName(month, QLocale::ShortFormat));
}

plat::Rect CSkinGraph::IconRect(int i) const {
    const int left = m_margin + i * (kIconSize + kIconGap);
    const int top = (kBandHeight - kIconSize) / 2;
    return {left, top, left + kIconSize, top + kIconSize};
}

plat::Rect CSkinGraph::PlotRect() const {
    const int labels = skin::VerticalTextExtent(m_verticalFont, kMeasureText).cy + 6;
    const plat::Rect plot{m_axisWidth, kBandHeight + m_margin, m_width - m_margin, m_height - labels};
    if (plot.width() < kLeastPlotWidth || plot.height() < kLeastPlotHeight)
        return {};
    return plot;
}

int CSkinGraph::WindowStart() const {
    return std::max(m_timeStart, m_timeEnd - m_rangeLength * kMinutesPerDay);
}

bool CSkinGraph::OnMouse(int x, int y, int state) {
    if (CSkinElement::OnMouse(x, y, state))
        return true;
    if (state != skin::kMouseReleased)
        return false;
    for (int i = 0; i < int(kIcons.size()); ++i) {
        if (!IconRect(i).contains({x, y}))
            continue;
        if (i == 0)
            SetRangeMode(m_mode == kDays ? kValues : kDays);
        else
            SetRangeLength(Lengths(m_mode)[size_t(i - 1)]);
        return false;
    }
    return false;
}

void CSkinGraph::Draw(plat::DeviceContext& dc, int x, int y, bool /*full*/) {
    if (m_width <= 0 || m_height <= 0)
        return;
    if (m_buffer.width() != m_width || m_buffer.height() != m_height)
        m_buffer.create(m_width, m_height);
    Render();
    dc.bitBlt(x, y, m_width, m_height, m_buffer, 0, 0);
}

void CSkinGraph::Render() {
    // Today moves on while a graph without points stays open.
    UpdateRange();
    m_buffer.fillSolidRect(plat::Rect{0, 0, m_width, m_height}, kPaper);
    DrawToolbar();
    m_buffer.fillSolidRect(plat::Rect{0, kBandHeight - 1, m_width, kBandHeight}, kRule);
    const plat::Rect plot = PlotRect();
    if (plot.isEmpty()) {
        const plat::Font* previous = m_buffer.selectFont(&m_flatFont);
        m_buffer.setTextColor(kLabel);
        plat::Rect area{m_margin, kBandHeight, m_width - m_margin, m_height};
        m_buffer.drawText(kTooSmallText, area,
                          plat::kTextCenter | plat::kTextWordBreak | plat::kTextNoPrefix);
        m_buffer.selectFont(previous);
        return;
    }
    DrawPlot(plot);
}

void CSkinGraph::DrawToolbar() {
    if (m_pAtlasDC) {
        for (int i = 0; i < int(kIcons.size()); ++i) {
            const plat::Rect at = IconRect(i);
            skin::DrawPiece(m_buffer, at.left, at.top, *m_pAtlasDC, kIcons[size_t(i)]);
        }
    }
    const std::array<int, 5>& lengths = Lengths(m_mode);
    const auto chosen = std::find(lengths.begin(), lengths.end(), m_rangeLength);
    if (chosen != lengths.end())
        m_buffer.frameRect(IconRect(int(chosen - lengths.begin()) + 1).inflated(2, 2), kChosen);
    const plat::Font* previous = m_buffer.selectFont(&m_flatFont);
    m_buffer.setTextColor(kLabel);
    const int textLeft = IconRect(int(kIcons.size())).left + 4;
    plat::Rect label{textLeft, 0, m_width - m_margin, kBandHeight};
    m_buffer.drawText(RangeLabel(), label,
                      plat::kTextVCenter | plat::kTextSingleLine | plat::kTextNoPrefix |
                          plat::kTextEndEllipsis);
    const int titleLeft = textLeft + m_flatFont.textExtent(RangeLabel()).cx + 2 * m_margin;
    if (!m_title.isEmpty() && titleLeft < m_width - m_margin) {
        m_buffer.setTextColor(plat::Rgb(0, 54, 92));
        plat::Rect title{titleLeft, 0, m_width - m_margin, kBandHeight};
        m_buffer.drawText(m_title, title,
                          plat::kTextVCenter | plat::kTextSingleLine | plat::kTextNoPrefix |
                              plat::kTextEndEllipsis);
    }
    m_buffer.selectFont(previous);
}

void CSkinGraph::DrawPlot(const plat::Rect& plot) {
    const double span = m_valueMax - m_valueMin;
    auto yOf = [&](double value) {
        return plot.bottom - 1 - int(std::lround((value - m_valueMin) * (plot.height() - 1) / span));
    };
    const plat::Font* previous = m_buffer.selectFont(&m_flatFont);
    m_buffer.setTextColor(kLabel);
    const int lineHeight = m_flatFont.height();
    for (int i = 0; i < kValueLines; ++i) {
        const double value = m_valueMin + span * i / (kValueLines - 1);
        const int y = yOf(value);
        m_buffer.fillSolidRect(plat::Rect{plot.left, y, plot.right, y + 1}, kGridLine);
        plat::Rect label{0, y - lineHeight / 2, m_axisWidth - 6, y - lineHeight / 2 + lineHeight};
        m_buffer.drawText(ValueLabel(value, span), label,
                          plat::kTextRight | plat::kTextSingleLine | plat::kTextNoPrefix | plat::kTextNoClip);
    }
    m_buffer.selectFont(previous);

    // Dates stand under the plot, one wherever there is room for the next.
    const int labelStep = m_verticalFont.height() + 6;
    auto dateAt = [&](int x, int time) {
        m_buffer.fillSolidRect(plat::Rect{x, plot.top, x + 1, plot.bottom}, kGridLine);
        const plat::Size box = skin::VerticalTextExtent(m_verticalFont, DateLabel(time));
        skin::DrawVerticalText(m_buffer, x - box.cx / 2, plot.bottom + 4 + box.cy, m_verticalFont, kLabel,
                               DateLabel(time));
    };
    std::vector<std::vector<plat::Point>> lines(m_series.size());
    if (m_mode == kDays) {
        const int start = WindowStart();
        const qint64 length = std::max(m_timeEnd - start, 1);
        auto xOf = [&](int time) {
            return plot.left + int((qint64(time) - start) * (plot.width() - 1) / length);
        };
        const double perDay = double(plot.width()) * kMinutesPerDay / length;
        const int everyDays = std::max(1, int(std::ceil(labelStep / std::max(perDay, 1e-9))));
        const int firstDay = (start + kMinutesPerDay - 1) / kMinutesPerDay;
        for (qint64 day = firstDay; day * kMinutesPerDay <= m_timeEnd; day += everyDays)
            dateAt(xOf(int(day * kMinutesPerDay)), int(day * kMinutesPerDay));
        for (size_t s = 0; s < m_series.size(); ++s)
            for (const CSkinGraph_Point& p : m_series[s].points)
                lines[s].push_back({xOf(p.time), yOf(p.value)});
    } else {
        const int gaps = std::max(m_rangeLength - 1, 1);
        auto xOf = [&](int index) { return plot.left + index * (plot.width() - 1) / gaps; };
        const std::vector<CSkinGraph_Point>* longest = nullptr;
        for (size_t s = 0; s < m_series.size(); ++s) {
            const std::vector<CSkinGraph_Point>& points = m_series[s].points;
            const size_t first =
                points.size() > size_t(m_rangeLength) ? points.size() - size_t(m_rangeLength) : 0;
            for (size_t i = first; i < points.size(); ++i)
                lines[s].push_back({xOf(int(i - first)), yOf(points[i].value)});
            if (!longest || points.size() > longest->size())
                longest = &points;
        }
        if (longest) {
            const int every = std::max(1, int(std::ceil(labelStep * double(gaps) / plot.width())));
            const size_t first =
                longest->size() > size_t(m_rangeLength) ? longest->size() - size_t(m_rangeLength) : 0;
            for (size_t i = first; i < longest->size(); i += size_t(every))
                dateAt(xOf(int(i - first)), (*longest)[i].time);
        }
    }
    m_buffer.fillSolidRect(plat::Rect{plot.left, plot.top, plot.left + 1, plot.bottom}, kAxis);
    m_buffer.fillSolidRect(plat::Rect{plot.left, plot.bottom - 1, plot.right, plot.bottom}, kAxis);

    m_buffer.pushClip(plot);
    for (size_t s = 0; s < m_series.size(); ++s) {
        const std::vector<plat::Point>& line = lines[s];
        m_buffer.setPen(m_series[s].color, 2);
        if (line.size() > 1)
            m_buffer.polyline(line.data(), int(line.size()));
        const int marker = m_series[s].marker;
        if (marker > 0) {
            for (const plat::Point& at : line)
                m_buffer.fillSolidRect(
                    plat::Rect::fromXywh(at.x - marker / 2, at.y - marker / 2, marker, marker),
                    m_series[s].color);
        }
    }
    m_buffer.popClip();
}

#pragma once

#include "platform/color.h"
#include "platform/device_context.h"
#include "platform/font.h"
#include "platform/geometry.h"
#include "skin/skin_element.h"

#include <QString>
#include <array>
#include <vector>

// One value of a series at a time in packed minutes.
struct CSkinGraph_Point {
    int time = 0;
    float value = 0.0f;
};

// A series of the graph: its points in time order and how they are drawn.
struct CSkinGraph_Series {
    std::vector<CSkinGraph_Point> points;
    plat::ColorRef color = 0;
    // Side of the square that marks each point; 0 draws the line alone.
    int marker = 5;
};

// A line graph of dated values in its own back buffer: a white toolbar band (the days / values switch and the
// five range lengths, the range label and the title), the value axis on the left, dates standing under the
// plot, and every series as a line. The days mode shows the last days of the time range, the values mode the
// last values of each series.
class CSkinGraph : public CSkinElement {
  public:
    enum RangeMode { kDays, kValues };

    CSkinGraph();
    ~CSkinGraph() override;

    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;
    // A click on a toolbar icon switches the mode or picks a range length.
    bool OnMouse(int x, int y, int state) override;

    // Answers the new series' index; its marker is the default.
    int AddSeries(plat::ColorRef color);
    // Points of a series that does not exist are dropped; points keep time order whatever the adding order.
    void AddPoint(int series, int time, float value);
    void ClearSeries();
    void SetTitle(const QString& title);
    // The length maps to the other mode's counterpart (7 days to 10 values and so on).
    void SetRangeMode(RangeMode mode);
    // One of the mode's lengths (days 7, 14, 30, 60, 90; values 10, 25, 50, 75, 100); others are refused.
    bool SetRangeLength(int length);
    // Recomputes the time and value ranges from the points (or from today without any).
    void UpdateRange();

    static const std::array<int, 5>& Lengths(RangeMode mode);
    // "%d days" or "%d values" for the current mode and length.
    QString RangeLabel() const;
    // "%d %b" for a packed time, e.g. "25 Aug".
    static QString DateLabel(int time);
    // The plot's rectangle relative to the element; empty when the element is too small to draw it.
    plat::Rect PlotRect() const;
    // Where toolbar icon i (0 the mode switch, 1-5 the lengths) lies, relative to the element.
    plat::Rect IconRect(int i) const;

    static constexpr int kBandHeight = 40;
    static constexpr int kIconSize = 32;
    static inline const QString kMeasureText = QStringLiteral("-99 WWW-");
    static inline const QString kTooSmallText = QStringLiteral("Area is too small to draw the graph");

    std::vector<CSkinGraph_Series> m_series;
    int m_timeStart = 0;
    int m_timeEnd = 0;
    double m_valueMin = 0.0;
    double m_valueMax = 10.0;
    RangeMode m_mode = kDays;
    int m_rangeLength = 30;
    QString m_title;
    // Left space for the value axis, and the margin around the plot.
    int m_axisWidth = 50;
    int m_margin = 10;
    // Drawn turned a quarter left (see vertical_text.h); also the face of the band's and axis's flat texts.
    plat::Font m_verticalFont;
    plat::Font m_flatFont;
    plat::DeviceContext m_buffer;

  private:
    void Render();
    void DrawToolbar();
    void DrawPlot(const plat::Rect& plot);
    // The shown part of the time range in days mode.
    int WindowStart() const;
};

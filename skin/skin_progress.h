#pragma once

#include "platform/device_context.h"
#include "skin/skin_element.h"

#include <QString>

// A progress bar with its percentage written on it; in marquee mode a block stands at the position instead.
class CSkinProgress : public CSkinElement {
  public:
    CSkinProgress();
    ~CSkinProgress() override;

    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;

    // Each redraws only when something changed; positions are clamped to the range.
    void SetRange(int minimum, int maximum);
    void SetPos(int position);
    void SetRangePos(int minimum, int maximum, int position);
    // The marquee shows a block at the position instead of the share; stopping returns to the minimum.
    void StartMarquee();
    void StopMarquee();

    static constexpr int kHeight = 14;

    int m_minimum = 0;
    int m_maximum = 100;
    int m_position = 0;
    QString m_format = QStringLiteral("%d %%");

  private:
    int Clamped(int position) const;

    bool m_marquee = false;
};

#pragma once

#include "platform/color.h"
#include "platform/device_context.h"
#include "skin/button_images.h"
#include "skin/skin_element.h"

#include <QString>

// A horizontal value slider with its value written beside the thumb. The owner sets the range, position,
// format and end texts directly and reads the position back; the slider sends nothing.
class CSkinSlider : public CSkinElement {
  public:
    CSkinSlider();
    ~CSkinSlider() override;

    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;
    bool OnMouse(int x, int y, int state) override;
    void OnKeyDown(int vk) override;

    // The thumb's pictures (thumb true) or the track's, normal, hot and pressed; a slider has no disabled
    // picture. A new thumb takes its key colour from its normal picture on the next paint.
    void SetImages(bool thumb, plat::Point normal, plat::Point hot, plat::Point pressed, int width,
                   int height);

    static constexpr int kMinHeight = 30;

    skin::StateImages m_trackImages;
    skin::StateImages m_thumbImages;
    // Taken from the atlas at the thumb's normal picture on the first paint.
    plat::ColorRef m_keyColor = plat::kInvalidColor;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_position = 0;
    QString m_valueFormat = QStringLiteral("%d");
    // Shown instead of the number at either end, when not empty.
    QString m_minText;
    QString m_maxText;

  private:
    // Clamped to the range; redraws when the position changed.
    void MoveTo(qint64 position);
};

#pragma once

#include "platform/color.h"
#include "platform/device_context.h"
#include "platform/font.h"

namespace skin {

// Selects a font and a text colour for the scope, and puts back what was there.
class TextState {
  public:
    TextState(plat::DeviceContext& dc, const plat::Font& font, plat::ColorRef color)
        : m_dc(dc), m_font(dc.selectFont(&font)), m_color(dc.setTextColor(color)) {}
    ~TextState() {
        m_dc.setTextColor(m_color);
        m_dc.selectFont(m_font);
    }
    TextState(const TextState&) = delete;
    TextState& operator=(const TextState&) = delete;

  private:
    plat::DeviceContext& m_dc;
    const plat::Font* m_font;
    plat::ColorRef m_color;
};

} // namespace skin

#pragma once

#include "platform/color.h"
#include "platform/device_context.h"
#include "platform/font.h"
#include "skin/skin_element.h"

#include <QString>
#include <memory>

// Static text of dialogs and project pages: one or more lines, sized to its text, optionally a link that
// sends its command when clicked.
class CSkinLabel : public CSkinElement {
  public:
    CSkinLabel();
    ~CSkinLabel() override;

    void Draw(plat::DeviceContext& dc, int x, int y, bool full) override;
    // Stores the caption with CR LF line ends only and sizes the label to it.
    void UpdateTextExtent(plat::DeviceContext& dc) override;

    // With x and y both non-zero the label is placed there, its right edge at x when right-aligned; otherwise
    // it stays where the holder put it.
    void CreateLabel(CSkinDlgHolder* holder, unsigned id, const QString& text, int x = 0, int y = 0,
                     const QString& command = QString(), const QString& tooltip = QString(),
                     bool link = false, bool rightAlign = false);
    // A font of the dialog or the caller, not owned; replaces the label's own font.
    void SetFont(const plat::Font* shared);
    // A font of the label's own; replaces the shared one, so measuring and drawing always use the same font.
    void CreateFont(int size, bool bold, bool underline);
    void SetLink(bool link);

    // The colour meaning "black".
    static constexpr plat::ColorRef kDefaultTextColor = plat::kInvalidColor;
    static constexpr plat::ColorRef kLinkColor = plat::Rgb(0, 0, 255);

    bool m_link = false;
    std::unique_ptr<plat::Font> m_ownFont;
    const plat::Font* m_pSharedFont = nullptr;
    plat::ColorRef m_textColor = kDefaultTextColor;

  private:
    const plat::Font* ActiveFont() const;
    void Remeasure();
};

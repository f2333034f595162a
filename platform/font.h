#pragma once

#include "platform/geometry.h"

#include <QString>
#include <memory>

class QFont;

namespace plat {

inline constexpr int kFontWeightNormal = 400;
inline constexpr int kFontWeightBold = 700;

// The family a face name is drawn with. Arial becomes Liberation Sans, which has Arial's metrics, so layouts
// measured in Arial fit; every font of the program is chosen here.
QString FontFamilyFor(const QString& face);

// A font as the skin code names it: a face name and a height in pixels. A positive height is the cell height
// (ascent + descent), a negative one the character height (the em size), as the skin code gives them.
class Font {
  public:
    Font(const QString& face = QStringLiteral("Arial"), int height = 15, int weight = kFontWeightNormal,
         bool italic = false, bool underline = false);
    Font(const Font& other);
    Font& operator=(const Font& other);
    ~Font();

    int ascent() const;
    int descent() const;
    int height() const; // ascent + descent, the height of one line
    Size textExtent(const QString& text) const;
    // text as it fits in width pixels: cut at the right with "..." when it is wider.
    QString elided(const QString& text, int width) const;

    bool isBold() const;
    bool isUnderline() const;

    const QFont& qfont() const; // for the platform layer only

  private:
    std::unique_ptr<QFont> m_font;
};

} // namespace plat

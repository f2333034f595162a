#pragma once

#include "platform/geometry.h"

#include <QString>
#include <functional>
#include <memory>

class QFont;

namespace plat {

inline constexpr int kFontWeightNormal = 400;
inline constexpr int kFontWeightBold = 700;

// No line is measured wider than this, nor drawn past it: wider than any screen, so a longer line shows the
// same as its beginning that reaches past it.
inline constexpr int kMaxLineWidth = 16384;

// How much of a one-line text can show in width pixels, so that a keyword of megabytes is never shaped whole
// for the few words a label shows. A short text is answered whole, unmeasured; of a long one, growing
// beginnings are measured with widthOf until one reaches past width, and that beginning (cut between whole
// characters) is the answer, or the whole text when none does. A text that still shows in width after
// 65,536 characters (marks and other characters of no width) is cut there and ends in an ellipsis (U+2026).
// A run of right-to-left script, laid out from its end, then shows the end of that beginning.
QString ShownBeginning(const QString& text, int width, const std::function<int(const QString&)>& widthOf);

// The family a face name is drawn with. Arial becomes Liberation Sans, which has Arial's metrics, so layouts
// measured in Arial fit; every font of the program is chosen here.
QString FontFamilyFor(const QString& face);

// The kind of face a font falls back to when its own face is missing.
enum class FontStyleHint { Any, SansSerif };

// A font as the skin code names it: a face name and a height in pixels. A positive height is the cell height
// (ascent + descent), a negative one the character height (the em size), as the skin code gives them.
class Font {
  public:
    Font(const QString& face = QStringLiteral("Arial"), int height = 15, int weight = kFontWeightNormal,
         bool italic = false, bool underline = false, FontStyleHint hint = FontStyleHint::Any);
    Font(const QString& face, int height, int weight, FontStyleHint hint)
        : Font(face, height, weight, false, false, hint) {}
    Font(const Font& other);
    Font& operator=(const Font& other);
    ~Font();

    int ascent() const;
    int descent() const;
    int height() const; // ascent + descent, the height of one line
    // One line's extent; a line wider than kMaxLineWidth measures kMaxLineWidth.
    Size textExtent(const QString& text) const;
    // text as it fits in width pixels: cut at the right with "..." when it is wider.
    QString elided(const QString& text, int width) const;

    const QFont& qfont() const; // for the platform layer only

  private:
    std::unique_ptr<QFont> m_font;
};

} // namespace plat

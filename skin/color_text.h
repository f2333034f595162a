#pragma once

#include "platform/color.h"

#include <QString>

// Colours written as six hexadecimal digits, red, green and blue, as the settings keep them.

namespace skin {

// Reads "RRGGBB" with or without a leading "#", in either case. A pair that is missing or is not two
// hexadecimal digits reads as 00, so a short or mistyped text still gives a colour and nothing is read past
// its end.
plat::ColorRef ParseColorText(const QString& text);
// Six upper-case hexadecimal digits.
QString ColorText(plat::ColorRef color);

} // namespace skin

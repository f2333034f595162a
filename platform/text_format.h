#pragma once

namespace plat {

// Flags of DeviceContext::drawText, combined with |.
enum TextFormat : unsigned {
    kTextLeft = 0,
    kTextCenter = 1u << 0,
    kTextRight = 1u << 1,
    kTextTop = 0,
    kTextVCenter = 1u << 2,   // only with kTextSingleLine
    kTextBottom = 1u << 3,    // only with kTextSingleLine
    kTextWordBreak = 1u << 4, // break lines between words at the rectangle's right edge
    kTextSingleLine = 1u << 5,
    kTextExpandTabs = 1u << 6,
    kTextNoClip = 1u << 7,
    kTextCalcRect = 1u << 8,     // measure only: right and bottom of the rectangle become the text's extent
    kTextNoPrefix = 1u << 9,     // "&" is an ordinary character (else "&x" underlines x and "&&" draws "&")
    kTextEndEllipsis = 1u << 10, // a line too wide ends in "..."
    kTextWordEllipsis = 1u << 11 // a word too wide for the line ends in "..."
};

} // namespace plat

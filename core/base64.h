#pragma once

#include <QString>

// Base64 of the text's UTF-8 bytes, in the standard alphabet with "=" padding.
QString Base64Encode(const QString& text);

// The text whose UTF-8 bytes base64 holds (a byte sequence that is not UTF-8 reads as U+FFFD). Empty when
// base64 is not base64 of the standard alphabet: any other character (line breaks and blanks too) or a
// misplaced "=".
QString Base64Decode(const QString& base64);

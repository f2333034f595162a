#pragma once

#include <QString>

// Percent-encoding of query values: letters and digits of any script pass unchanged, a blank becomes "+"
// (blankAsPlus) or "%20", every other character becomes the %XX escapes of its UTF-8 bytes.
QString UrlEncode(const QString& text, bool blankAsPlus);

// Percent-decoding in one pass: runs of escapes that form UTF-8 decode as UTF-8, any other escaped byte
// as the character of that code; a "%" without two hex digits stays literal. plusAsBlank turns a literal
// "+" into a blank (an escaped "%2B" stays "+").
QString UrlDecode(const QString& text, bool plusAsBlank);

// The folder that relative links of the document at base resolve against: base cut before the last "/"
// of its path (query and fragment dropped), or base + "/" when it has no path ("http://host" gives
// "http://host/", "http://host/x/page.html?a=b" gives "http://host/x").
QString UrlFolder(const QString& base);

// Absolute URL of link within folder (a UrlFolder result). Links that start with "?" or "#" need the
// document the folder was cut from; without it the folder itself stands for the document.
QString ResolveUrlInFolder(const QString& link, const QString& folder, const QString& document = {});

// Absolute URL of link found in the document at base.
QString ResolveUrl(const QString& link, const QString& base);

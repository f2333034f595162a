#pragma once

#include <QString>

// The check the input dialog makes before it accepts what the user typed.

namespace skin {

// Why text (trimmed already) is refused, or an empty text when it is accepted. Domain mode wants one or more
// domain names (one per line when multi-line): it is checked in lower case without a leading "http://",
// "https://" or "www.", and must have an extension, no "/" and only letters, digits, "-" and "." besides
// line breaks. Keyword mode only wants something. emptyMessage, when not empty, replaces the standard text
// for an empty input.
QString InputRefusal(const QString& text, bool domainMode, bool multiLine, const QString& emptyMessage);

// text with every line trimmed of blanks at both ends, the lines joined by CR LF: a name typed with a blank
// after it is still one name.
QString TrimEachLine(const QString& text);

} // namespace skin

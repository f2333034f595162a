#pragma once

#include <QString>

// A tooltip may carry one web address; a click on it opens the user's browser.

namespace skin {

struct TooltipLink {
    qsizetype start = -1; // index in the tooltip text, -1 when there is no link
    qsizetype length = 0;
    QString url;
};

// The first "http://" or "https://" address in the text, up to the next blank or line break, when it is a
// well-formed web address with a host. Anything else (other schemes, broken addresses) is no link.
TooltipLink FindTooltipLink(const QString& text);

} // namespace skin

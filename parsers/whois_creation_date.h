#pragma once

#include <QString>

class CDownloader;

// The creation date in a whois reply.
namespace CDownloader_Parsers {

// The date of the first line from a "creat" on (letter case ignored) that holds three numbers, as
// first x 10000 + second x 100 + the third's last two digits: a date written year, month, day gives
// yyyymmdd, one written day, month, year gives ddmmyy. Month names count as their numbers. 0 when no such
// line is found.
int ParseWhoisCreationDate(const CDownloader& downloader);
int ParseWhoisCreationDate(const QString& reply);

} // namespace CDownloader_Parsers

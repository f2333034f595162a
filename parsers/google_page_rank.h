#pragma once

#include <QString>
#include <QtGlobal>

class CDownloader;

// Search engine 1's toolbar rank service: the request with its checksum, and the reply.
namespace CDownloader_Parsers {

// The rank query for a page address. The query text is "info:" and the address, cut at the first "?",
// "#" and "&"; the checksum is taken over that text decoded, and the text itself goes out percent-encoded
// only where it could not stand in a request line (blanks, control and non-ASCII characters, a "%" that
// starts no escape).
void BuildGooglePageRankUrl(QString& url, const QString& pageUrl);
// Builds the query and starts the downloader on it; false when the downloader is busy.
bool StartGooglePageRank(CDownloader& downloader, const QString& pageUrl);

// The rank from a finished downloader's reply, -2 when it gives none.
int ParsePageRank(const CDownloader& downloader);
// The rank from reply text ("Rank_1:1:4" gives 4): the number after the second ":", -2 when there is none.
int ParsePageRank(const QString& reply);

} // namespace CDownloader_Parsers

// The rank service's checksum: Bob Jenkins' lookup2 hash with initial value 0xE6359A60 over the text's
// 16-bit character codes.
quint32 GooglePageRankChecksum(const QString& text);

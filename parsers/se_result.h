#pragma once

#include <QString>

class CDownloader_HTMLTags;

// One organic search result or one paid ad. The field names are also the keys of saved results.
class CDownloader_Parsers_SE_result {
  public:
    CDownloader_Parsers_SE_result() = default;
    CDownloader_Parsers_SE_result(const CDownloader_Parsers_SE_result& other) = default;
    CDownloader_Parsers_SE_result(CDownloader_Parsers_SE_result&& other) noexcept = default;
    CDownloader_Parsers_SE_result& operator=(const CDownloader_Parsers_SE_result& other) = default;
    CDownloader_Parsers_SE_result& operator=(CDownloader_Parsers_SE_result&& other) noexcept = default;

    // Writes the record as children of node, each key only when it holds a value.
    void WriteXml(CDownloader_HTMLTags& node) const;
    // The same keys to a SavedTreeWriter or a SavedMarkupWriter.
    template <typename Writer> void Write(Writer& out) const;
    // Reads every key of the record from node; a key that is missing takes its default. False when node is
    // null (the record is then untouched) or holds none of the keys.
    bool ReadXml(const CDownloader_HTMLTags* node);

    // Position on the result page; -1 none, -2 the page gave one that was not a number.
    int pos = -1;
    // Block the ad stood in: 1 top, 2 side, 3 a third block; -1 none (organic results).
    int second_flag = -1;
    QString title;
    // Snippet or ad text; may hold one CR LF between the two ad lines.
    QString body;
    QString show_url;
    QString full_url;
    QString ad_line1;
    QString ad_line2;
};

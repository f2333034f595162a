#include "parsers/se_result.h"

#include "net/html_tags.h"
#include "net/saved_markup.h"

#include <algorithm>
#include <iterator>

using namespace Qt::StringLiterals;

namespace {

// The saved keys, in the order they are written.
enum Key { kPos, kSecondFlag, kTitle, kBody, kShowUrl, kFullUrl, kAdLine1, kAdLine2, kKeyCount };
const QString kKeys[kKeyCount] = {u"pos"_s,      u"second_flag"_s, u"title"_s,    u"body"_s,
                                  u"show_url"_s, u"full_url"_s,    u"ad_line1"_s, u"ad_line2"_s};

// The text field of a key from kTitle on.
template <typename Record> auto* TextOf(Record& record, int key) {
    decltype(&record.title) fields[] = {&record.title,    &record.body,     &record.show_url,
                                        &record.full_url, &record.ad_line1, &record.ad_line2};
    return fields[key - kTitle];
}

} // namespace

void CDownloader_Parsers_SE_result::WriteXml(CDownloader_HTMLTags& node) const {
    SavedTreeWriter out(node);
    Write(out);
}

template <typename Writer> void CDownloader_Parsers_SE_result::Write(Writer& out) const {
    // A record without a position is still written in full: organic results have none, and dropping their
    // texts would lose them on save.
    for (const int key : {kPos, kSecondFlag})
        if (const int value = key == kPos ? pos : second_flag; value != -1)
            out.Value(kKeys[key], value);
    for (int key = kTitle; key < kKeyCount; ++key)
        if (const QString& value = *TextOf(*this, key); !value.isEmpty())
            out.Value(kKeys[key], value);
}

template void CDownloader_Parsers_SE_result::Write(SavedTreeWriter&) const;
template void CDownloader_Parsers_SE_result::Write(SavedMarkupWriter&) const;

bool CDownloader_Parsers_SE_result::ReadXml(const CDownloader_HTMLTags* node) {
    if (!node)
        return false;
    const CDownloader_HTMLTags* found[kKeyCount] = {};
    node->FindFirstOfEach(kKeys, found);
    CDownloader_HTMLTags::GetInt(found[kPos], pos, -1);
    CDownloader_HTMLTags::GetInt(found[kSecondFlag], second_flag, -1);
    for (int key = kTitle; key < kKeyCount; ++key)
        CDownloader_HTMLTags::GetString(found[key], *TextOf(*this, key), QString());
    return std::any_of(std::begin(found), std::end(found),
                       [](const auto* value) { return value != nullptr; });
}

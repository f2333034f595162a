#include "parsers/se_result.h"

#include "net/html_tags.h"
#include "net/saved_markup.h"

using namespace Qt::StringLiterals;

void CDownloader_Parsers_SE_result::WriteXml(CDownloader_HTMLTags& node) const {
    SavedTreeWriter out(node);
    Write(out);
}

template <typename Writer> void CDownloader_Parsers_SE_result::Write(Writer& out) const {
    const auto writeInt = [&](const QString& key, int value) {
        if (value != -1)
            out.Value(key, value);
    };
    const auto writeText = [&](const QString& key, const QString& value) {
        if (!value.isEmpty())
            out.Value(key, value);
    };
    // A record without a position is still written in full: organic results have none, and dropping their
    // texts would lose them on save.
    writeInt(u"pos"_s, pos);
    writeInt(u"second_flag"_s, second_flag);
    writeText(u"title"_s, title);
    writeText(u"body"_s, body);
    writeText(u"show_url"_s, show_url);
    writeText(u"full_url"_s, full_url);
    writeText(u"ad_line1"_s, ad_line1);
    writeText(u"ad_line2"_s, ad_line2);
}

template void CDownloader_Parsers_SE_result::Write(SavedTreeWriter&) const;
template void CDownloader_Parsers_SE_result::Write(SavedMarkupWriter&) const;

bool CDownloader_Parsers_SE_result::ReadXml(const CDownloader_HTMLTags* node) {
    if (!node)
        return false;
    bool found = false;
    auto readInt = [&](const QString& key, int& out) {
        const CDownloader_HTMLTags* value = node->FindFirst({.tag = key});
        CDownloader_HTMLTags::GetInt(value, out, -1);
        found = found || value;
    };
    auto readText = [&](const QString& key, QString& out) {
        const CDownloader_HTMLTags* value = node->FindFirst({.tag = key});
        CDownloader_HTMLTags::GetString(value, out, QString());
        found = found || value;
    };
    readInt(u"pos"_s, pos);
    readInt(u"second_flag"_s, second_flag);
    readText(u"title"_s, title);
    readText(u"body"_s, body);
    readText(u"show_url"_s, show_url);
    readText(u"full_url"_s, full_url);
    readText(u"ad_line1"_s, ad_line1);
    readText(u"ad_line2"_s, ad_line2);
    return found;
}
